#include "document/jpeg_quality_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <new>

#include "controls/error_box.h"
#include "document/jpeg_preview.h"
#include "platform/fonts.h"
#include "platform/runtime_errors.h"

TForm5::TForm5(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("JPEG保存の品質"));
    // A title bar without buttons: the dialog ends with "決定".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(369, 362);
    // The program's own font, as in the other dialogs: in a wider one "プログレッシブJPEG" ran
    // past the right edge.
    setFont(UiFont(12));
    PreviewPath = PreviewFilePath();

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setGeometry(0, 0, 369, 281);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = new QLabel;
    ScrollBox1->setWidget(Image1);

    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setGeometry(3, 288, 329, 33);
    TrackBar1->setRange(1, 100);
    TrackBar1->setValue(75);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(1);

    Label1 = new QLabel(QStringLiteral("75"), this);
    Label1->move(336, 291);
    Label1->setFont(UiFont(15, true));
    Label1->setMinimumWidth(30);

    CheckBox1 = new QCheckBox(QStringLiteral("プログレッシブJPEG"), this);
    CheckBox1->move(240, 337);
    CheckBox1->adjustSize();
    Button1 = new QPushButton(QStringLiteral("決定"), this);
    Button1->setGeometry(158, 333, 75, 25);

    connect(TrackBar1, &QSlider::valueChanged, this, &TForm5::TrackBar1Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm5::Preview);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
}

bool TForm5::Execute(const Bitmap& picture, int& quality, bool& progressive) {
    source_.CopyFrom(picture);
    move(screen()->availableGeometry().center() - rect().center());
    Preview();
    const bool accepted = exec() == QDialog::Accepted;
    // The copy and its preview are as large as the picture; they are not kept between saves.
    source_ = Bitmap();
    Image1->clear();
    if (!accepted) return false;
    quality = quality_;
    progressive = progressive_;
    return true;
}

void TForm5::Preview() {
    try {
        const Bitmap shown =
            PreviewThroughFile(source_, TrackBar1->value(), CheckBox1->isChecked(), PreviewPath);
        Image1->setPixmap(QPixmap::fromImage(shown.ConstView()));
        Image1->resize(shown.Width(), shown.Height());
    } catch (const UserError& e) {
        ShowErrorBox(this, e.Text());
    } catch (const std::bad_alloc&) {
        ShowErrorBox(this, OutOfMemoryError().Text());
    }
}

void TForm5::TrackBar1Change(int position) {
    Label1->setText(QString::number(position));
    Label1->adjustSize();
    Preview();
}

void TForm5::Button1Click() {
    QFile::remove(PreviewPath);
    progressive_ = CheckBox1->isChecked();
    quality_ = TrackBar1->value();
    accept();
}
