#pragma once
// The program's windows, created once at start in their fixed order and kept until exit.
#include <QStringList>
#include <memory>

class QWidget;
class TForm1;
class TerminationSignals;

class ProgramWindows {
  public:
    ProgramWindows(const QStringList& args, const QString& startDir);
    ~ProgramWindows();

    // Shows the main window, then the layer and loupe windows beside it; only then do the
    // timer's ticks start.
    void Show();
    // The program's end from outside: SIGTERM and SIGHUP write a recovery copy of unsaved work
    // and then end the program as the signal would; the desktop's logout asks the save
    // question.
    void WatchSessionEnd();

    TForm1* Form1() const { return form1_.get(); }
    QWidget* AboutBox() const { return aboutBox_; }
    QWidget* NewPictureDialog() const { return newPicture_; }
    QWidget* ReadmeDialog() const { return readme_; }
    QWidget* LayerWindow() const { return layerWindow_; }
    QWidget* LoupeWindow() const { return loupeWindow_; }
    QWidget* TextForm() const { return textForm_; }

  private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TerminationSignals> signals_;
    QWidget* aboutBox_ = nullptr;
    QWidget* newPicture_ = nullptr;
    QWidget* readme_ = nullptr;
    QWidget* levelDialog_ = nullptr;
    QWidget* jpegDialog_ = nullptr;
    QWidget* contrastDialog_ = nullptr;
    QWidget* customFilterDialog_ = nullptr;
    QWidget* colourDialog_ = nullptr;
    QWidget* layerWindow_ = nullptr;
    QWidget* loupeWindow_ = nullptr;
    QWidget* textForm_ = nullptr;
};
