#pragma once
// Whole-layer edits of the editing commands: undo's restore, and the rectangle copy and fill of
// Cut and Copy. They write into buffers that already exist wherever the sizes allow.
#include <array>

#include <QRect>

#include "layers/layer_stack.h"
#include "platform/bitmap.h"
#include "tools/tool_state.h"

// Undo and redo in one: layer UndoLayer takes the snapshot that UndoPhase names (0: the
// before-snapshot image3, 1: the after-snapshot image4) and UndoPhase flips, so that the next
// call brings back the other one. False, changing nothing, when UndoLayer has left the display
// order.
bool RestoreUndoSnapshot(const LayerStack& stack, std::array<Bitmap, kLayerSlots>& layers,
                         const Bitmap& image3, const Bitmap& image4, ToolState& state);

// target becomes a copy of the part of source inside rect (rect lies within source).
void CopyRectangle(const Bitmap& source, const QRect& rect, Bitmap& target);

// Fills the part of rect that lies on target with one colour.
void FillRectangle(Bitmap& target, const QRect& rect, TColor colour);
