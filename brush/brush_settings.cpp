#include "brush/brush_settings.h"

#include "platform/rounding.h"

namespace {

// The size marks in the size box's order.
constexpr bool MenuChecks::*kSizeMarks[kBrushSizeCount] = {
    &MenuChecks::S1, &MenuChecks::S2, &MenuChecks::S3, &MenuChecks::S4, &MenuChecks::S5};

}  // namespace

BlurLevel BlurLevelOf(const MenuChecks& checks) {
    if (checks.K1) return blNone;
    if (checks.K4) return blWeak;
    if (checks.K3) return blMedium;
    if (checks.K2) return blStrong;
    return blNone;
}

int SizeIndexOf(const MenuChecks& checks) {
    for (int i = 0; i < kBrushSizeCount; ++i)
        if (checks.*kSizeMarks[i]) return i;
    return kStartupSizeIndex;
}

int BrushSizeOf(const MenuChecks& checks) {
    return kBrushSizes[SizeIndexOf(checks)];
}

bool SelectBrushSize(MenuChecks& checks, int index, int& brushSize) {
    if (index < 0 || index >= kBrushSizeCount) return false;
    brushSize = kBrushSizes[index];
    for (int i = 0; i < kBrushSizeCount; ++i) checks.*kSizeMarks[i] = (i == index);
    return true;
}

void SelectBlurLevel(MenuChecks& checks, BlurLevel level) {
    checks.K1 = level == blNone;
    checks.K4 = level == blWeak;
    checks.K3 = level == blMedium;
    checks.K2 = level == blStrong;
}

int InkRadius(int brushSize) {
    return static_cast<int>(Round(0.6 * brushSize));
}

int BleedProbeDistance(int brushSize) {
    return static_cast<int>(Round(0.2 * brushSize));
}
