#pragma once
// The folder of recovery copies and the locks that tell which running program owns which copy.
//
// Each program that runs takes a name of its own ("kasumiro-<process id>") and holds a lock on
// "<name>.lock", a file that holds its process id; its copy is "<name>.rec". The lock is an
// advisory lock of the system, which goes with the process however it ends: a copy whose lock
// nobody holds belongs to a program that is gone. A copy that could not be read is renamed to
// "<name>.damaged" and stays there for the user.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// A held lock on one name's copy.
class RecoveryLock {
  public:
    RecoveryLock(QString folder, QString name, int fd);
    RecoveryLock(const RecoveryLock&) = delete;
    RecoveryLock& operator=(const RecoveryLock&) = delete;
    // Lets go of the lock; the copy stays, and with it its lock file.
    ~RecoveryLock();

    const QString& Name() const { return name_; }
    QString CopyPath() const;
    QString LockPath() const;
    // Removes the copy, then the lock file, then lets go.
    void RemoveAll();

  private:
    QString folder_;
    QString name_;
    int fd_;
};

class RecoveryFolder {
  public:
    // $XDG_STATE_HOME/kasumiro/recovery, or ~/.local/state/kasumiro/recovery when the variable
    // is unset or not an absolute path.
    static QString DefaultPath();

    explicit RecoveryFolder(QString path = DefaultPath());
    const QString& Path() const { return path_; }

    // Makes the folder (readable by the user alone) and a lock under a new name of this
    // process. Null when the folder cannot be written: the program then keeps no copies.
    std::unique_ptr<RecoveryLock> ClaimOwnName() const;

    // The copies that no running program owns, newest first, each now locked by us. The lock
    // files that no running program holds and that guard no copy are removed on the way.
    std::vector<std::unique_ptr<RecoveryLock>> UnownedCopies() const;

    // Moves a copy that could not be read out of the way, under a name no copy has.
    void SetAside(const RecoveryLock& lock) const;

  private:
    // The name's lock, when nobody else holds it.
    std::unique_ptr<RecoveryLock> TryLock(const QString& name, bool create) const;

    QString path_;
};
