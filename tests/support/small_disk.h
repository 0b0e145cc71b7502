#pragma once
// A real file system that runs full: a small tmpfs mounted for one test and taken down after it.
// Mounting needs the right to (root, as in CI); without it Mounted() is false and Why() says
// why, for the test to skip with.
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

class SmallDisk {
  public:
    explicit SmallDisk(int kilobytes) {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
        if (!dir_.isValid()) {
            why_ = QStringLiteral("no temporary folder to mount on");
        } else if (mount("kasumiro-test", Folder().constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                         options.constData()) != 0) {
            why_ = QStringLiteral("cannot mount a tmpfs here (%1); run as root to include this")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        } else {
            mounted_ = true;
        }
    }
    ~SmallDisk() {
        if (mounted_) umount2(Folder().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const QString& Why() const { return why_; }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    qint64 Free() const {
        struct statvfs fs {};
        statvfs(Folder().constData(), &fs);
        return qint64(fs.f_bavail) * qint64(fs.f_frsize);
    }
    // Writes a file of its own until no more than `leave` bytes are free (whole pages).
    void Fill(qint64 leave) {
        QFile filler(Path(QStringLiteral("filler")));
        filler.open(QIODevice::Append | QIODevice::Unbuffered);
        const QByteArray page(4096, 'f');
        while (Free() > leave) {
            const qint64 chunk = std::min<qint64>(page.size(), Free() - leave);
            if (filler.write(page.constData(), chunk) <= 0) break;
        }
    }

  private:
    QByteArray Folder() const { return QFile::encodeName(dir_.path()); }

    QTemporaryDir dir_;
    bool mounted_ = false;
    QString why_;
};
