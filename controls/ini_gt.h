#pragma once
// TIniGT: the settings store. Typed reads with defaults and writes that reach the INI file
// at once; window placements as eight integers under a prefix.
#include <QString>

#include "platform/runtime_errors.h"

class QWidget;

enum TIniGTDefaultDir { ddApplication, ddWindows, ddNone };

// A window's placement as the settings file keeps it: flags, show state, the maximised
// position and the normal (restored) rectangle as edges, right and bottom being coordinates.
struct WindowPlacement {
    enum ShowState { swNormal = 1, swMinimized = 2, swMaximized = 3 };
    int Flags = 0;
    int Show = swNormal;
    int MaxX = -1;
    int MaxY = -1;
    int X = 0;
    int Y = 0;
    int XSize = 0;
    int YSize = 0;
    bool operator==(const WindowPlacement& o) const {
        return Flags == o.Flags && Show == o.Show && MaxX == o.MaxX && MaxY == o.MaxY && X == o.X &&
               Y == o.Y && XSize == o.XSize && YSize == o.YSize;
    }
};

class TIniGT {
  public:
    // Resolves its path at once: the executable's name with ".ini", beside the executable.
    TIniGT();

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name);
    TIniGTDefaultDir DefaultDir() const { return defaultDir_; }
    void SetDefaultDir(TIniGTDefaultDir dir);
    // The file every read and write goes to.
    const QString& Path() const { return path_; }

    bool ReadBool(const QString& section, const QString& key, bool def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // A whole number brought into lowest..highest (digits too many for any integer still say
    // which end they lie beyond); anything else is def.
    int ReadIntegerIn(const QString& section, const QString& key, int def, int lowest,
                      int highest) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;

    // Writes throw UserError ("<path> に書き込めません") when the file cannot be written.
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteString(const QString& section, const QString& key, const QString& value);

    // The eight "<prefix>.Flags" ... "<prefix>.YSize" values, each defaulting to current's.
    WindowPlacement ReadPlacement(const QString& section, const QString& prefix,
                                  const WindowPlacement& current) const;
    void WritePlacement(const QString& section, const QString& prefix,
                        const WindowPlacement& placement);

    // The same on a live window (geometry and normal / maximised / minimised state).
    void LoadPlacement(const QString& section, const QString& prefix, QWidget* window) const;
    void SavePlacement(const QString& section, const QString& prefix, QWidget* window);

  private:
    void Resolve();

    QString fileName_;
    TIniGTDefaultDir defaultDir_ = ddApplication;
    QString path_;
};

// The placement of a live window, and applying one to it. A place off every screen, or a size
// larger than the screens, is brought onto the nearest screen; a sound one is applied as is.
WindowPlacement PlacementOf(const QWidget* window);
void ApplyPlacement(QWidget* window, const WindowPlacement& placement);
// The same check for a window placed by other means (the window system, -qwindowgeometry).
void KeepOnScreen(QWidget* window);
