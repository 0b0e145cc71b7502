#pragma once
// TForm11: the loupe window. It shows the paint surface's picture enlarged, stays on top of
// the other windows and, while the brush draws, can follow its tip (the main window moves
// its clip). Its options live with the main window, which stores them at exit.
#include <QMainWindow>

class Bitmap;
class LoupeHost;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class TIniGT;
class TLupe;

class TForm11 : public QMainWindow {
    Q_OBJECT
  public:
    // settings gives the window's stored placement; it may be null (no placement is read).
    TForm11(QWidget* owner, LoupeHost& host, const TIniGT* settings);

    // The paint surface's picture, shown without a copy: the magnifier reads only the part
    // it shows, and only the blocks that changed are repainted.
    void CopyPicture(const Bitmap& picture);

    void FormCreate();
    void FormShow();
    void B2Click() { MagnificationClick(0); }
    void B3Click() { MagnificationClick(1); }
    void B4Click() { MagnificationClick(2); }
    void B5Click() { MagnificationClick(3); }
    void B6Click() { MagnificationClick(4); }
    void B7Click() { MagnificationClick(5); }
    void B8Click() { MagnificationClick(6); }
    void F1Click();
    void D1Click();

    TLupe* Lupe1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    // "2倍(&T)" to "14倍(&I)": B2 to B8.
    QAction* B[7] = {};
    QAction* O1 = nullptr;
    QAction* F1 = nullptr;
    QAction* D1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildMenus();
    void BuildStatusBar();
    void MagnificationClick(int item);
    void ShowChecks();

    LoupeHost& host_;
    const TIniGT* settings_;
};
