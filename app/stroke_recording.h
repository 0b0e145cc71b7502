#pragma once
// Recorded strokes: pointer events and ticks with the seed and brush settings they were made
// with, as a small text format, and their replay through the main window's core.
//
//   seed 1234              random seed, then a fresh bristle cloud
//   picture 400 400        picture size (before the first event)
//   size 0                 size box row: 0 extra thick ... 4 extra fine
//   blur strong            none | weak | medium | strong
//   options dry bleed      any of: bleed dry width density pressure (the others are off)
//   colours 000000 ffffff  primary and secondary, as rrggbb
//   down L L 100 100       press: button (L R M), held set, x, y
//   move L 104 100         move: held set, x, y
//   up L - 140 100         release: button, held set, x, y
//   move L 108 100 pen 0.35  a pen's move: its end (pen, eraser) and pressure, 0 to 1
//   away                   the pen left the tablet's reach
//   tick 3                 idle ticks
//
// A held set is "-" or letters: L R M for the buttons, s c a for Shift, Ctrl, Alt, d for a
// double click. A pen's buttons are L for the tip and M, R for the barrel. After a press,
// move or release, "pen" or "eraser" makes it a pen's event and a number its pressure (a
// pressure alone means the pen); without pressure the pen reports none. Lines starting with #
// are comments.
#include <QString>
#include <QStringList>
#include <vector>

#include "brush/menu_checks.h"
#include "platform/colour.h"
#include "platform/pen_event.h"
#include "platform/shift_state.h"

class Bitmap;
class MainWindowCore;

struct StrokeEvent {
    enum Kind { Down, Move, Up, Tick, Away } kind;
    TMouseButton button = mbLeft;
    TShiftState shift = 0;
    int x = 0;
    int y = 0;
    int count = 1;  // ticks
    // ptMouse for the mouse; a pen's pressure in thousandths, or kNoPressure.
    TPointerType pointer = ptMouse;
    int pressure = kNoPressure;
};

struct StrokeRecording {
    unsigned seed = 1;
    int width = 400;
    int height = 400;
    int sizeIndex = 2;
    // Brush kind marks: blur level, bleed, dry brush, width and density by speed, pressure.
    bool K1 = false, K4 = false, K3 = true, K2 = false;
    bool M1 = true, H1 = true, N8 = false, C2 = true, P1 = true;
    TColor primary = clBlack;
    TColor secondary = clWhite;
    std::vector<StrokeEvent> events;

    // Reads a recording; on a bad line returns false with a message naming it.
    static bool Parse(const QString& text, StrokeRecording* out, QString* error);
    static bool Load(const QString& path, StrokeRecording* out, QString* error);
};

struct ReplayResult {
    long long ticksRun = 0;
    long long ticksRested = 0;
};

// The settings the core starts from: the picture size of the recording goes into the
// settings file that a fresh core reads at start-up.
void WritePictureSize(const StrokeRecording& recording);
// Applies the seed and the settings to a started core.
void ApplySettings(MainWindowCore& core, const StrokeRecording& recording);
// Hands a press, move or release to the core's paint-surface handlers, a pen's to its pen
// handler; a tick does nothing.
void SendPointerEvent(MainWindowCore& core, const StrokeEvent& e);
// Runs the events through the core. With rest, a tick that would change nothing is skipped,
// as the idle loop skips it.
ReplayResult ReplayEvents(MainWindowCore& core, const StrokeRecording& recording, bool rest);

// A 64-bit FNV-1a digest of a picture's pixels, as 16 hex digits.
QString PixelChecksum(const Bitmap& picture);
