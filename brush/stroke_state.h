#pragma once
// The brush stroke's state, kept between pointer events and timer ticks.
#include "platform/canvas.h"
#include "platform/colour.h"

struct StrokeState {
    int StrokePhase = 0;
    int BrushSize = 13;
    int SegmentStartX = 0;
    int SegmentStartY = 0;
    int SegmentEndX = 0;
    int SegmentEndY = 0;
    int BristleCursor = 0;
    int InkLevel = 0;
    int SpeedSquared = 0;
    bool TickDrawing = false;
    int PointerX = 0;
    int PointerY = 0;
    bool StrokeActive = false;
    bool SnapshotTaken = false;
    TColor StrokeBaseColour = clBlack;
};
