#pragma once
// TForm10, the layer window "レイヤ": one row per layer in reverse display order, menus that
// create, merge, move and delete layers, and a status bar with the transparent colour and the
// current layer's rank. It draws everything from its LayerStack and edits only that; it never
// calls the main window, which picks the changes up from the stack's flags at its next tick.
//
// The main window creates it once (after its own creation), shows it while "レイヤ(&R)" is
// checked, and saves its placement under "Form10" / "Pos" when it closes. Thumbnails follow the
// stack by themselves (LayerStack::SetThumbnail notifies the window); RefreshRows() redraws all.
#include <array>

#include <QMainWindow>

#include "layers/layer_stack.h"

class LayerRow;
class QAction;
class QColorDialog;
class QLabel;
class QScrollArea;
class QStatusBar;
class TIniGT;

class TForm10 : public QMainWindow, private LayerStackHost {
    Q_OBJECT
  public:
    // Restores the placement from settings ("Form10", "Pos") when given. The stack must outlive
    // the window; the window becomes the stack's host until it is destroyed.
    explicit TForm10(LayerStack& stack, const TIniGT* settings = nullptr,
                     QWidget* parent = nullptr);
    ~TForm10() override;

    LayerStack& Stack() const { return stack_; }

    // Menu handlers.
    void New1Click();
    void N1Click();
    void N2Click();
    void N3Click();
    void Delete1Click();

    // Redraws every row (position, mark, colour, thumbnail, name, highlight) from the stack.
    void RefreshRows();

    // The row of a layer index in use, null otherwise.
    LayerRow* Row(int index) const;
    QString PanelText(int panel) const;

    QAction* New1;
    QAction* N1;
    QAction* N2;
    QAction* N3;
    QAction* Delete1;
    QScrollArea* ScrollBox1;
    QWidget* RowList;
    QStatusBar* StatusBar1;
    QColorDialog* ColorDialog1;

  protected:
    // The close box only hides the window.
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate(const TIniGT* settings);
    void BuildMenus();
    void BuildRowList();
    void BuildStatusBar();
    // A menu command; memory running out in it is reported, and the program goes on.
    void Run(void (LayerStack::*operation)());

    // LayerStackHost
    void Beep() override;
    void MessageBox(const QString& text) override;
    void ConfirmLimit(const QString& text) override;
    std::optional<TColor> ChooseColour(TColor initial) override;
    void RowsChanged() override;
    void RowChanged(int index) override;
    void StatusChanged() override;
    void ScrollRowsToTop() override;
    void ErrorBox(const QString& text) override;

    LayerStack& stack_;
    std::array<LayerRow*, kLayerSlots> rows_{};
    QLabel* panels_[2] = {nullptr, nullptr};
};
