// The main window's widgets and menu items for this group of commands, wired to the core.
#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>

#include "app/main_window.h"

void TForm1::ConnectBrushSettings() {
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int index) { core_.ComboBox1Change(index); });

    using Handler = void (MainWindowCore::*)();
    const std::pair<const char*, Handler> items[] = {
        {"S1", &MainWindowCore::S1Click}, {"S2", &MainWindowCore::S2Click},
        {"S3", &MainWindowCore::S3Click}, {"S4", &MainWindowCore::S4Click},
        {"S5", &MainWindowCore::S5Click}, {"K1", &MainWindowCore::K1Click},
        {"K4", &MainWindowCore::K4Click}, {"K3", &MainWindowCore::K3Click},
        {"K2", &MainWindowCore::K2Click}, {"M1", &MainWindowCore::M1Click},
        {"H1", &MainWindowCore::H1Click}, {"N8", &MainWindowCore::N8Click},
        {"C2", &MainWindowCore::C2Click}, {"P1", &MainWindowCore::P1Click},
    };
    for (const auto& [name, handler] : items)
        connect(MenuItem(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, handler = handler] { (core_.*handler)(); });
}

void TForm1::SetBrushSizeIndex(int index) {
    // A change made by the program is not the user's choice: the core runs the handler.
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->setCurrentIndex(index);
}
