// The main window's side of the loupe window.
#include "app/main_core.h"

namespace {

constexpr int kLoupeFactors[7] = {2, 4, 6, 8, 10, 12, 14};

}  // namespace

void MainWindowCore::LoupeFollowTip() {
    if (!Checks.L1) return;
    if (Loupe.F1) {
        // Top first, then left; the loupe refuses an origin past the picture's edge, so near
        // an edge it stops following on that axis only.
        const QSize clip = screen_.LoupeClipSize();
        screen_.SetLoupeClipTop(Stroke.PointerY - clip.height() / 2);
        screen_.SetLoupeClipLeft(Stroke.PointerX - clip.width() / 2);
    }
    screen_.CopyToLoupe(Image1);
}

int MainWindowCore::LoupeFactor(int item) {
    return kLoupeFactors[item];
}

int MainWindowCore::LoupeMagnification(int current) const {
    for (int i = 0; i < 7; ++i)
        if (Loupe.B[i]) current = kLoupeFactors[i];
    return current;
}

int MainWindowCore::LoupeMagnificationClick(int item) {
    for (int i = 0; i < 7; ++i) Loupe.B[i] = i == item;
    return kLoupeFactors[item];
}
