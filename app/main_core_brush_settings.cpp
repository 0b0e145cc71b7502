// The main window's brush settings: the bristle cloud, the size box and hidden size menu, and
// the brush-kind menu. The marks are the settings; the engine reads them at its next step.
#include "app/main_core.h"

void MainWindowCore::StartBrushSettings() {
    RegenerateBristles();
    screen_.SetBrushSizeIndex(kStartupSizeIndex);
    ComboBox1Change(kStartupSizeIndex);
}

void MainWindowCore::RegenerateBristles() {
    Stroke.BristleCursor = 0;
    Bristles.Regenerate(Random, Stroke.BristleCursor);
    Stroke.SegmentEndX = Stroke.SegmentStartX = Stroke.PointerX;
    Stroke.SegmentEndY = Stroke.SegmentStartY = Stroke.PointerY;
}

void MainWindowCore::ComboBox1Change(int index) {
    if (SelectBrushSize(Checks, index, Stroke.BrushSize)) screen_.MenuChecksChanged();
}

void MainWindowCore::SelectSizeFromMenu(int index) {
    screen_.SetBrushSizeIndex(index);
    ComboBox1Change(index);
}

void MainWindowCore::S1Click() {
    SelectSizeFromMenu(0);
}
void MainWindowCore::S2Click() {
    SelectSizeFromMenu(1);
}
void MainWindowCore::S3Click() {
    SelectSizeFromMenu(2);
}
void MainWindowCore::S4Click() {
    SelectSizeFromMenu(3);
}
void MainWindowCore::S5Click() {
    SelectSizeFromMenu(4);
}

void MainWindowCore::SetBlurLevel(BlurLevel level) {
    SelectBlurLevel(Checks, level);
    screen_.MenuChecksChanged();
}

void MainWindowCore::K1Click() {
    SetBlurLevel(blNone);
}
void MainWindowCore::K4Click() {
    SetBlurLevel(blWeak);
}
void MainWindowCore::K3Click() {
    SetBlurLevel(blMedium);
}
void MainWindowCore::K2Click() {
    SetBlurLevel(blStrong);
}

void MainWindowCore::ToggleCheck(bool MenuChecks::*mark) {
    Checks.*mark = !(Checks.*mark);
    screen_.MenuChecksChanged();
}

void MainWindowCore::M1Click() {
    ToggleCheck(&MenuChecks::M1);
}
void MainWindowCore::H1Click() {
    ToggleCheck(&MenuChecks::H1);
}
void MainWindowCore::N8Click() {
    ToggleCheck(&MenuChecks::N8);
}
void MainWindowCore::C2Click() {
    ToggleCheck(&MenuChecks::C2);
}
void MainWindowCore::P1Click() {
    ToggleCheck(&MenuChecks::P1);
}
