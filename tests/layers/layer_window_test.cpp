// What only the layer window shows: rows in reverse display order, the highlighted name box,
// the status texts and hints, and the close box that only hides.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>
#include <new>

#include "controls/error_box.h"
#include "layers/layer_row.h"
#include "layers/layer_window.h"

namespace {

QColor NameBoxColour(const TForm10& w, int index) {
    return w.Row(index)->NameBox->palette().color(QPalette::Base);
}

}  // namespace

TEST(LayerWindow, CaptionAndClientSize) {
    LayerStack stack;
    TForm10 w(stack);
    w.show();
    EXPECT_EQ(w.windowTitle(), "レイヤ");
    EXPECT_EQ(w.width(), 190);
    EXPECT_EQ(w.StatusBar1->height(), 19);
    EXPECT_EQ(w.ScrollBox1->height() + w.StatusBar1->height(), 183);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(LayerWindow, RowsStackInReverseDisplayOrder) {
    LayerStack stack;
    TForm10 w(stack);
    w.New1Click();
    w.New1Click();
    EXPECT_EQ(w.Row(2)->geometry(), QRect(0, 0, 170, 40));
    EXPECT_EQ(w.Row(1)->y(), 40);
    EXPECT_EQ(w.Row(0)->y(), 80);
    w.N2Click();  // layer 0 up by one
    EXPECT_EQ(w.Row(0)->y(), 40);
    EXPECT_EQ(w.Row(1)->y(), 80);
    stack.SelectLayer(2);
    w.Delete1Click();
    EXPECT_EQ(w.Row(2), nullptr);
    EXPECT_EQ(w.Row(0)->y(), 0);
    EXPECT_EQ(w.Row(1)->y(), 40);
}

// The main window says how many layers its memory can take; one more is refused in the
// standard error box, and a create that runs out of memory half-way is reported there too.
TEST(LayerWindow, ALayerTheMemoryCannotTakeIsRefusedInTheErrorBox) {
    LayerStack stack;
    TForm10 w(stack);
    SetErrorBoxRecording(true);
    stack.RoomForLayers = [](int layers) { return layers <= 2; };
    w.New1Click();
    w.New1Click();
    stack.RoomForLayers = [](int) -> bool { throw std::bad_alloc(); };
    w.New1Click();
    SetErrorBoxRecording(false);
    EXPECT_EQ(TakeRecordedErrorBoxes(),
              QStringList({QStringLiteral("ﾒﾓﾘ不足です"), QStringLiteral("ﾒﾓﾘ不足です")}));
    EXPECT_EQ(stack.LayerCount(), 2);
    EXPECT_EQ(w.Row(2), nullptr);
}

TEST(LayerWindow, RowControlsSitAtTheirPlaces) {
    LayerStack stack;
    TForm10 w(stack);
    const LayerRow* row = w.Row(0);
    EXPECT_EQ(row->ShowBox->geometry(), QRect(0, 0, 20, 20));
    EXPECT_EQ(row->ColourBox1->geometry(), QRect(0, 20, 20, 20));
    EXPECT_EQ(row->Thumbnail->geometry(), QRect(20, 1, 38, 38));
    EXPECT_EQ(row->NameBox->geometry(), QRect(70, 4, 89, 15));
    EXPECT_EQ(row->NameBox->text(), "新規レイヤ1");
    EXPECT_EQ(row->ShowBox->text(), "○");
    EXPECT_EQ(row->ColourBox1->Colour(), QColor(Qt::white));
}

TEST(LayerWindow, CurrentLayersNameBoxIsYellow) {
    LayerStack stack;
    TForm10 w(stack);
    w.New1Click();
    EXPECT_EQ(NameBoxColour(w, 0), QColor(255, 255, 0));
    EXPECT_NE(NameBoxColour(w, 1), QColor(255, 255, 0));
    stack.SelectLayer(1);
    EXPECT_EQ(NameBoxColour(w, 1), QColor(255, 255, 0));
    EXPECT_NE(NameBoxColour(w, 0), QColor(255, 255, 0));
}

TEST(LayerWindow, StatusBarShowsColourAndRank) {
    LayerStack stack;
    TForm10 w(stack);
    EXPECT_EQ(w.PanelText(0), "$00FFFFFF");
    EXPECT_EQ(w.PanelText(1), "表示順位1番目");
    w.New1Click();
    EXPECT_EQ(w.PanelText(1), "表示順位2番目");
    stack.SetTransparentColour(1, RgbColour(0, 0, 255));
    stack.SelectLayer(1);
    EXPECT_EQ(w.PanelText(0), "$00FF0000");
    EXPECT_EQ(w.PanelText(1), "表示順位1番目");
}

TEST(LayerWindow, ClicksAndEditsReachTheStack) {
    LayerStack stack;
    TForm10 w(stack);
    w.New1Click();
    w.Row(1)->ShowBox->click();
    EXPECT_EQ(stack.VisibilityMark(1), "×");
    EXPECT_EQ(w.Row(1)->ShowBox->text(), "×");
    w.Row(1)->NameBox->setText("x");
    emit w.Row(1)->NameBox->textEdited("背景");
    EXPECT_EQ(stack.LayerName(1), "背景");
    EXPECT_EQ(stack.CurrentLayerIndex(), 0);
}

TEST(LayerWindow, MergedRowLosesTwoHints) {
    LayerStack stack;
    TForm10 w(stack);
    EXPECT_EQ(w.Row(0)->NameBox->toolTip(), "レイヤの名前");
    EXPECT_EQ(w.Row(0)->ShowBox->toolTip(), "表示する");
    w.New1Click();
    w.N1Click();
    EXPECT_EQ(w.Row(1), nullptr);
    EXPECT_TRUE(w.Row(0)->NameBox->toolTip().isEmpty());
    EXPECT_TRUE(w.Row(0)->ShowBox->toolTip().isEmpty());
    EXPECT_EQ(w.Row(0)->ColourBox1->toolTip(), "透過色");
}

TEST(LayerWindow, ThumbnailFollowsTheStack) {
    LayerStack stack;
    TForm10 w(stack);
    Bitmap red(4, 4);
    red.Fill(RgbColour(255, 0, 0));
    stack.SetThumbnail(0, red);
    const QImage shown = w.Row(0)->Thumbnail->pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(38, 38));
    EXPECT_EQ(QColor(shown.pixel(20, 20)), QColor(255, 0, 0));
}

TEST(LayerWindow, CloseBoxOnlyHides) {
    LayerStack stack;
    {
        TForm10 w(stack);
        w.show();
        EXPECT_TRUE(w.close());
        EXPECT_FALSE(w.isVisible());
        w.show();
        EXPECT_TRUE(w.isVisible());
    }
    // Once the window is gone the stack works on without it.
    stack.CreateLayer();
    EXPECT_EQ(stack.LayerCount(), 2);
}
