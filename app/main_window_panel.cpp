// The tool panel: size box, tool buttons, colour swatches, palette and progress bar, at their
// design positions.
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

#include "app/main_window.h"
#include "controls/cute_button.h"
#include "platform/fonts.h"
#include "resources/artwork.h"

namespace {

constexpr int kPanelWidth = 81;

TCuteButton* MakeToolButton(QWidget* parent, const char* name, const QString& caption,
                            const QRect& rect, int fontPixels) {
    auto* button = new TCuteButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->SetCaption(caption);
    button->SetFlat(true);
    button->SetBorderStyle(bsSingle);
    button->SetFont(UiFont(fontPixels));
    button->SetHint(caption);
    return button;
}

QFrame* MakeSwatch(QWidget* parent, const char* name, const QRect& rect, const QColor& colour) {
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setGeometry(rect);
    swatch->setFrameStyle(QFrame::Panel | QFrame::Raised);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
    return swatch;
}

}  // namespace

void TForm1::BuildToolPanel() {
    Panel1 = new QWidget(centralWidget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(kPanelWidth);
    Panel1->setToolTip(QStringLiteral("ダブルクリックすると位置が変わります"));
    Panel1->installEventFilter(this);

    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setFont(UiFont(13));
    ComboBox1->addItems({QStringLiteral("極太"), QStringLiteral("太筆"), QStringLiteral("中筆"),
                         QStringLiteral("細筆"), QStringLiteral("極細")});
    ComboBox1->setGeometry(8, 8, 65, 21);
    ComboBox1->setCurrentIndex(2);

    Button3 = MakeToolButton(Panel1, "Button3", QStringLiteral("筆"), QRect(7, 40, 66, 20), 12);
    Button4 =
        MakeToolButton(Panel1, "Button4", QStringLiteral("レタッチ"), QRect(7, 64, 66, 20), 11);
    Button8 =
        MakeToolButton(Panel1, "Button8", QStringLiteral("テキスト"), QRect(7, 88, 66, 20), 11);
    Button5 =
        MakeToolButton(Panel1, "Button5", QStringLiteral("塗りつぶす"), QRect(7, 112, 66, 20), 11);
    Button6 =
        MakeToolButton(Panel1, "Button6", QStringLiteral("色の取得"), QRect(7, 136, 66, 20), 11);
    Button2 =
        MakeToolButton(Panel1, "Button2", QStringLiteral("元に戻す"), QRect(7, 160, 66, 20), 11);
    Button1 =
        MakeToolButton(Panel1, "Button1", QStringLiteral("クリア"), QRect(7, 184, 66, 20), 11);
    // The brush is the active tool at start: its button is grey.
    Button3->SetColor(QColor(128, 128, 128));

    Panel4 = MakeSwatch(Panel1, "Panel4", QRect(8, 209, 33, 13), Qt::black);
    Panel5 = MakeSwatch(Panel1, "Panel5", QRect(40, 209, 33, 13), Qt::white);

    Panel6 = new QFrame(Panel1);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setGeometry(8, 226, 65, 92);
    Panel6->setFrameStyle(QFrame::Box | QFrame::Plain);
    Image2 = new QLabel(Panel6);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(1, 1, 63, 90);
    Image2->setPixmap(QPixmap::fromImage(PalettePicture().ConstView().copy()));

    Button7 =
        MakeToolButton(Panel1, "Button7", QStringLiteral("他の色"), QRect(8, 322, 65, 17), 11);
    CuteButton4 =
        MakeToolButton(Panel1, "CuteButton4", QStringLiteral("透明色"), QRect(8, 342, 65, 17), 11);

    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

// The progress bar sits along the bottom of the tool panel.
void TForm1::PlaceProgressBar() {
    if (ProgressBar1) ProgressBar1->setGeometry(0, Panel1->height() - 8, kPanelWidth, 8);
}
