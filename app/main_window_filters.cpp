// The main window's widgets and menu items for this group of commands, wired to the core.
#include <QAction>
#include <QScrollBar>

#include "app/main_window.h"
#include "tools/custom_filter_dialog.h"
#include "tools/filter_dialogs.h"

void TForm1::ConnectFilters() {
    void (MainWindowCore::*handlers[8])() = {&MainWindowCore::I1Click, &MainWindowCore::I2Click,
                                             &MainWindowCore::I3Click, &MainWindowCore::I4Click,
                                             &MainWindowCore::I5Click, &MainWindowCore::I6Click,
                                             &MainWindowCore::I7Click, &MainWindowCore::I8Click};
    for (int i = 0; i < 8; ++i)
        connect(MenuItem(QStringLiteral("I%1").arg(i + 1)), &QAction::triggered, this,
                [this, handler = handlers[i]] { Run(handler); });
}

bool TForm1::ContrastDialog(int& strength) {
    if (!Form6 || Form6->exec() != QDialog::Accepted) return false;
    strength = Form6->ContrastStrength;
    return true;
}

bool TForm1::ColourCorrectionDialog(ColourOffsets& offsets) {
    if (!Form7 || Form7->exec() != QDialog::Accepted) return false;
    offsets = {Form7->ScrollBar1->value(), Form7->ScrollBar2->value(), Form7->ScrollBar3->value()};
    return true;
}

bool TForm1::LevelDialog(int& level) {
    if (!Form8 || Form8->exec() != QDialog::Accepted) return false;
    level = Form8->ScrollBar1->value();
    return true;
}

bool TForm1::CustomFilterDialog(CustomFilterText& text) {
    if (!Form9 || Form9->exec() != QDialog::Accepted) return false;
    text = Form9->Text();
    return true;
}
