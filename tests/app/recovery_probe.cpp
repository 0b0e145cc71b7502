// A test program, built for the tests only: the program's real windows, signal handling and
// event loop, with settings from a folder the test gives, painting through the core when told to,
// answering every message box as told and reporting on its standard output.
//
//   recovery_probe --settings DIR [--paint] [--answer yes|no] [--dump DIR] [--quit]
//
// Output lines (tab-separated): "asked", caption, text, default button (every message box);
// "layer", position, name, mark, transparent colour (--dump, with layer<position>.bmp);
// "document", file name, modified (--dump); "painted" (--paint).
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/program_windows.h"
#include "platform/app_paths.h"
#include "platform/fonts.h"

namespace {

void Say(const QStringList& fields) {
    std::fputs((fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// Answers each message box once it is shown: the restore question as told, every other
// question with "いいえ(&N)".
class BoxAnswerer : public QObject {
  public:
    explicit BoxAnswerer(bool restore) : restore_(restore) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show)
            QTimer::singleShot(0, box, [this, box] { Answer(box); });
        return false;
    }

  private:
    void Answer(QMessageBox* box) {
        QAbstractButton* standing = box->defaultButton();
        Say({QStringLiteral("asked"), box->windowTitle(), box->text(),
             standing ? standing->text() : QString()});
        const bool restoreQuestion = box->text().contains(QStringLiteral("復元しますか"));
        const QString wanted =
            restoreQuestion && restore_ ? QStringLiteral("はい(&Y)") : QStringLiteral("いいえ(&N)");
        for (QAbstractButton* button : box->buttons())
            if (button->text() == wanted) return button->click();
        box->buttons().first()->click();
    }

    bool restore_;
};

void Fill(MainWindowCore& core, TColor colour) {
    core.PrimaryColour = colour;
    core.Button5Click();
    core.Image1MouseDown(mbLeft, ssLeft, 3, 3);
    core.Image1MouseUp(mbLeft, ssLeft, 3, 3);
}

// Layer 0 red, and on top of it a hidden green layer named "下書き", keyed on blue.
void Paint(MainWindowCore& core) {
    Fill(core, RgbColour(200, 30, 40));
    core.Layers.CreateLayer();
    core.Timer1Timer(1);
    core.Layers.SelectLayer(1);
    Fill(core, RgbColour(20, 160, 40));
    core.Layers.SetLayerName(1, QStringLiteral("下書き"));
    core.Layers.SetTransparentColour(1, RgbColour(0, 0, 255));
    core.Layers.ToggleVisibility(1);
    Say({QStringLiteral("painted")});
}

void Dump(MainWindowCore& core, const QString& folder) {
    for (int p = 0; p < core.Layers.LayerCount(); ++p) {
        const int index = core.Layers.DisplayOrder(p);
        SaveBmpFile(folder + QStringLiteral("/layer%1.bmp").arg(p),
                    core.LayerImages()[std::size_t(index)]);
        Say({QStringLiteral("layer"), QString::number(p), core.Layers.LayerName(index),
             core.Layers.VisibilityMark(index),
             QString::number(core.Layers.TransparentColour(index))});
    }
    Say({QStringLiteral("document"), core.Document.FileName,
         QString::number(core.Document.Modified)});
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kasumiro"));
    const QStringList args = QApplication::arguments();
    const auto value = [&](const char* option) {
        const qsizetype at = args.indexOf(QLatin1String(option));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
    };
    const QString settings = value("--settings");
    AppPaths::OverrideExecutableDir(settings);
    InstallFontSubstitutes();
    BoxAnswerer answerer(value("--answer") == QLatin1String("yes"));
    app.installEventFilter(&answerer);

    ProgramWindows windows({}, settings);
    windows.WatchSessionEnd();
    windows.Show();
    MainWindowCore& core = windows.Form1()->Core();
    if (!value("--dump").isEmpty()) Dump(core, value("--dump"));
    if (args.contains(QStringLiteral("--paint"))) Paint(core);
    if (args.contains(QStringLiteral("--quit")))
        QTimer::singleShot(0, windows.Form1(), [&windows] { windows.Form1()->close(); });
    return QApplication::exec();
}
