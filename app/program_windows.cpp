#include "app/program_windows.h"

#include "app/main_window.h"
#include "app/placeholder_windows.h"
#include "document/jpeg_quality_dialog.h"
#include "document/new_picture_dialog.h"
#include "help/about_box.h"
#include "help/readme_dialog.h"
#include "layers/layer_window.h"
#include "loupe/loupe_window.h"
#include "platform/qt_language.h"
#include "tools/custom_filter_dialog.h"
#include "tools/filter_dialogs.h"
#include "tools/text_form.h"

ProgramWindows::ProgramWindows(const QStringList& args, const QString& startDir) {
    // Before any window: the stock dialogs take their texts when they are built.
    InstallQtJapanese();
    form1_ = std::make_unique<TForm1>(args, startDir);
    TForm1* owner = form1_.get();
    MainWindowCore& core = owner->Core();
    // The version dialog.
    aboutBox_ = new TAboutBox(owner);

    // The new-picture dialog.
    newPicture_ = owner->AdoptNewPictureDialog(new TOKBottomDlg(owner));

    // The Readme viewer.
    readme_ = new TOKBottomDlg1(owner);

    // The value-extraction level dialog.
    levelDialog_ = owner->Form8 = new TForm8(owner);

    // The JPEG quality dialog.
    jpegDialog_ = owner->AdoptJpegQualityDialog(new TForm5(owner));

    // The contrast-strength dialog.
    contrastDialog_ = owner->Form6 = new TForm6(owner);

    // The custom-filter dialog.
    customFilterDialog_ = owner->Form9 = new TForm9(owner);

    // The colour-correction dialog.
    colourDialog_ = owner->Form7 = new TForm7(owner);

    // The layer window.
    layerWindow_ = new TForm10(core.Layers, &core.IniGT1, owner);

    // The loupe window.
    loupeWindow_ = new TForm11(owner, core, &core.IniGT1);

    // The text dialog.
    textForm_ = new TTextForm(owner);

    owner->SetToolWindows(layerWindow_, loupeWindow_);
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::Show() {
    form1_->show();
    // A geometry from the command line (-qwindowgeometry) is applied by the show itself.
    KeepOnScreen(form1_.get());
    // On a first start the tool windows stand beside the main window, the loupe under the
    // layer window; afterwards their stored placements decide.
    const TIniGT& settings = form1_->Core().IniGT1;
    const QRect main = form1_->frameGeometry();
    if (settings.ReadString(QStringLiteral("Form10"), QStringLiteral("Pos.X"), QString()).isEmpty())
        layerWindow_->move(main.right() + 8, main.top());
    if (settings.ReadString(QStringLiteral("Form11"), QStringLiteral("Pos.X"), QString()).isEmpty())
        loupeWindow_->move(main.right() + 8,
                           main.top() + layerWindow_->frameGeometry().height() + 8);
    layerWindow_->show();
    loupeWindow_->show();
    form1_->Core().StartUpFinished();
}
