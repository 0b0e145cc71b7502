#pragma once
// What the loupe window needs of the main window: its options, which the main window reads
// from and stores in the settings, and the picture it shows.
class Bitmap;

// The loupe window's options that the main window stores when it closes.
struct LoupeOptions {
    // Magnification items 2, 4, 6, 8, 10, 12 and 14 times.
    bool B[7] = {false, false, true, false, false, false, false};
    bool F1 = true;         // follow the brush tip
    bool StatusBar = true;  // the loupe's status bar is shown
};

class LoupeHost {
  public:
    virtual ~LoupeHost() = default;
    virtual LoupeOptions& LoupeSettings() = 0;
    // The magnification items, and the follow and status bar options, from the settings.
    virtual void ReadLoupeMagnification() = 0;
    virtual void ReadLoupeShowOptions() = 0;
    // The magnification the checked items give; current when none is checked.
    virtual int LoupeMagnification(int current) const = 0;
    // A magnification item chosen: it becomes the only checked one. Returns its factor.
    virtual int LoupeMagnificationClick(int item) = 0;
    // The paint surface's picture while "ルーペ(&L)" is checked; null while it is not.
    virtual const Bitmap* LoupePicture() const = 0;
};
