// The main window's widgets and menu items for this group of commands, wired to the core.
#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QFrame>
#include <QLabel>

#include "app/main_window.h"
#include "controls/cute_button.h"
#include "tools/pointer_relay.h"
#include "tools/text_form.h"

void TForm1::ConnectTools() {
    Button4->OnClick = [this](QObject*) { core_.Button4Click(); };
    Button5->OnClick = [this](QObject*) { Run(&MainWindowCore::Button5Click); };
    Button6->OnClick = [this](QObject*) { core_.Button6Click(); };
    Button7->OnClick = [this](QObject*) { core_.Button7Click(); };
    Button8->OnClick = [this](QObject*) { Run(&MainWindowCore::Button8Click); };
    CuteButton4->OnClick = [this](QObject*) { core_.CuteButton4Click(); };

    // The retouch kinds show as one radio group; the core keeps the one mark.
    auto* kinds = new QActionGroup(this);
    const std::pair<const char*, void (MainWindowCore::*)()> items[] = {
        {"R1", &MainWindowCore::R1Click}, {"R2", &MainWindowCore::R2Click},
        {"R3", &MainWindowCore::R3Click}, {"R4", &MainWindowCore::R4Click},
        {"R5", &MainWindowCore::R5Click}, {"R6", &MainWindowCore::R6Click},
        {"R7", &MainWindowCore::R7Click}, {"R8", &MainWindowCore::R8Click}};
    for (const auto& [name, handler] : items) {
        QAction* item = MenuItem(QString::fromLatin1(name));
        kinds->addAction(item);
        connect(item, &QAction::triggered, this, [this, h = handler] { (core_.*h)(); });
    }
    kinds->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

    auto* palette = new PointerRelay(Image2);
    palette->OnPress = [this](TShiftState s, int x, int y) { core_.Image2MouseDown(s, x, y); };
    palette->OnMove = [this](TShiftState s, int x, int y) { core_.Image2MouseMove(s, x, y); };
    palette->OnRelease = [this] { core_.Image2MouseUp(); };
    (new PointerRelay(Panel4))->OnPress = [this](TShiftState s, int, int) {
        core_.Panel4MouseDown(s);
    };
    (new PointerRelay(Panel5))->OnPress = [this](TShiftState s, int, int) {
        core_.Panel5MouseDown(s);
    };
}

void TForm1::SetSwatchColours(TColor primary, TColor secondary) {
    for (auto [swatch, colour] : {std::pair{Panel4, primary}, std::pair{Panel5, secondary}}) {
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, ToQColor(colour));
        swatch->setPalette(p);
    }
}

std::optional<TColor> TForm1::ChooseOtherColour(TColor initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), this);
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
}

TTextForm* TForm1::TextForm() const {
    return findChild<TTextForm*>(QString(), Qt::FindDirectChildrenOnly);
}

bool TForm1::RunTextDialog() {
    TTextForm* form = TextForm();
    return form && form->exec() == QDialog::Accepted;
}

QStringList TForm1::TextDialogLines() {
    TTextForm* form = TextForm();
    return form ? form->Lines() : QStringList();
}

QFont TForm1::TextDialogFont() {
    TTextForm* form = TextForm();
    return form ? form->FontDialog1Font() : QFont();
}

void TForm1::SetTextDialogColours(TColor text, TColor background) {
    if (TTextForm* form = TextForm()) form->SetMemoColours(ToQColor(text), ToQColor(background));
}
