#pragma once
// The brush settings the user picks: the size and the brush kind. They live in the main
// window's menu check marks, so the engine reads them where it needs them and a change takes
// effect at the next step.
#include "brush/menu_checks.h"

enum BlurLevel { blNone, blWeak, blMedium, blStrong };

// The five sizes in the size box's order: extra thick, thick, medium, fine, extra fine.
constexpr int kBrushSizeCount = 5;
constexpr int kBrushSizes[kBrushSizeCount] = {25, 19, 13, 8, 3};
// The size box's entry at start-up: medium.
constexpr int kStartupSizeIndex = 2;

// The checked blur level. Should a settings file leave no mark or several, the first checked
// item in menu order wins, and no mark at all means no blur.
BlurLevel BlurLevelOf(const MenuChecks& checks);
// The size that the hidden size menu's mark names; medium when none is checked.
int BrushSizeOf(const MenuChecks& checks);
// The size box's row for a size mark, 0 to 4.
int SizeIndexOf(const MenuChecks& checks);

// Gives the size mark to row index of the size box and clears the others, and sets
// brushSize. An index outside the list changes nothing and returns false.
bool SelectBrushSize(MenuChecks& checks, int index, int& brushSize);
// Gives the mark to one blur level and takes it from the other three.
void SelectBlurLevel(MenuChecks& checks, BlurLevel level);

// Radius of the bleed and blur squares, and the bleed's probe distance.
int InkRadius(int brushSize);
int BleedProbeDistance(int brushSize);
