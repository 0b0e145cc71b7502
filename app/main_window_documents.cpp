// The main window's file commands: the File menu, the file dialogs, the save question and the
// document dialogs, wired to the core.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/main_window.h"
#include "document/jpeg_quality_dialog.h"
#include "document/new_picture_dialog.h"

namespace {

const QStringList& FileFilters() {
    // The picture types' other extensions are listed too, so that such files can be chosen.
    static const QStringList filters = {
        QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp *.dib)"), QStringLiteral("JPEG (*.jpg *.jpeg *.jpe)"),
        QStringLiteral("Kasumiroﾌｧｲﾙ(*.tav)"), QStringLiteral("PNG (*.png)")};
    return filters;
}

}  // namespace

void TForm1::ConnectDocuments() {
    const std::pair<const char*, void (MainWindowCore::*)()> items[] = {
        {"N2", &MainWindowCore::N2Click},
        {"N3", &MainWindowCore::N3Click},
        {"Save1", &MainWindowCore::Save1Click},
        {"N1", &MainWindowCore::N1Click},
    };
    for (const auto& [name, handler] : items)
        connect(MenuItem(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, handler = handler] { Run(handler); });
}

QWidget* TForm1::AdoptNewPictureDialog(TOKBottomDlg* dialog) {
    newPictureDialog_ = dialog;
    return dialog;
}

QWidget* TForm1::AdoptJpegQualityDialog(TForm5* dialog) {
    jpegDialog_ = dialog;
    return dialog;
}

bool TForm1::ShowNewPictureDialog(int& width, int& height) {
    return newPictureDialog_ && newPictureDialog_->Execute(width, height);
}

bool TForm1::ShowJpegQualityDialog(const Bitmap& picture, int& quality, bool& progressive) {
    return jpegDialog_ && jpegDialog_->Execute(picture, quality, progressive);
}

bool TForm1::ShowOpenDialog(QString& fileName, int& filterIndex) {
    return ShowFileDialog(false, fileName, filterIndex);
}

bool TForm1::ShowSaveDialog(QString& fileName, int& filterIndex) {
    return ShowFileDialog(true, fileName, filterIndex);
}

bool TForm1::ShowFileDialog(bool save, QString& fileName, int& filterIndex) {
    QFileDialog dialog(this, save ? QStringLiteral("保存") : QStringLiteral("開く"));
    dialog.setNameFilters(FileFilters());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed without an extension gets ".bmp", whatever the filter entry. The dialog would
    // ask about replacing the name as typed; the core asks about the file it will write.
    if (save) dialog.setDefaultSuffix(QStringLiteral("bmp"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    int& remembered = save ? saveFilter_ : openFilter_;
    dialog.selectNameFilter(FileFilters().value(remembered - 1));
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    fileName = dialog.selectedFiles().first();
    remembered = std::max(1, int(FileFilters().indexOf(dialog.selectedNameFilter())) + 1);
    filterIndex = remembered;
    return true;
}

bool TForm1::AskSaveChanges(const QString& target) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"),
                    target + QStringLiteral(" への変更を保存しますか？"), QMessageBox::NoButton,
                    this);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

bool TForm1::AskRestoreRecoveryCopy() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"),
                    QStringLiteral("前回保存されなかった作業があります。復元しますか？"),
                    QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

bool TForm1::AskReplaceFile(const QString& path) {
    // The file dialog's own question, in its own words and translation.
    const QString text =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(path).fileName());
    return QMessageBox::warning(this, QStringLiteral("保存"), text,
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

void TForm1::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    this);
    box.exec();
}
