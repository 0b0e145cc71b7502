// The paint surface's pointer and the brush tool button, wired to the core.
#include "app/main_window.h"
#include "app/paint_surface.h"
#include "controls/cute_button.h"

void TForm1::ConnectBrush() {
    Image1->OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
        core_.Guarded([&] { core_.Image1MouseDown(button, shift, x, y); });
    };
    Image1->OnMouseMove = [this](TShiftState shift, int x, int y) {
        core_.Guarded([&] { core_.Image1MouseMove(shift, x, y); });
    };
    Image1->OnMouseUp = [this](TMouseButton button, TShiftState shift, int x, int y) {
        core_.Guarded([&] { core_.Image1MouseUp(button, shift, x, y); });
    };
    Image1->OnPen = [this](const PenEvent& pen) { core_.Guarded([&] { core_.Image1Pen(pen); }); };
    Image1->OnPenAway = [this] { Run(&MainWindowCore::Image1PenAway); };
    Button3->OnClick = [this](QObject*) { Run(&MainWindowCore::Button3Click); };
}

TCuteButton* TForm1::ToolButtonOf(ToolButton tool) const {
    switch (tool) {
        case tbBrush:
            return Button3;
        case tbRetouch:
            return Button4;
        case tbText:
            return Button8;
        case tbFill:
            return Button5;
        case tbPick:
            return Button6;
    }
    return nullptr;
}

void TForm1::HighlightToolButton(ToolButton active) {
    for (ToolButton tool : {tbBrush, tbRetouch, tbText, tbFill, tbPick}) {
        const QColor face = palette().color(QPalette::Button);
        ToolButtonOf(tool)->SetColor(tool == active ? QColor(128, 128, 128) : face);
    }
}
