#include "tools/selection_band.h"

QString PointerStatusText(int x, int y) {
    return QStringLiteral("位置( %1 , %2 )").arg(x).arg(y);
}

void SelectionBand::Start(int x, int y) {
    Left = x;
    Top = y;
    Visible = true;
}

bool SelectionBand::Follow(int x, int y) {
    if (x < Left || y < Top) return false;
    Width = x - Left;
    Height = y - Top;
    return true;
}

QString SelectionBand::StatusText(int x, int y) const {
    return QStringLiteral("位置( %1 , %2 ) -> ( %3 , %4 ) = ( %5 x %6 )")
        .arg(Left)
        .arg(Top)
        .arg(x)
        .arg(y)
        .arg(Width)
        .arg(Height);
}

void SelectionBand::Reset() {
    *this = SelectionBand();
}

QRect SelectionBand::OnPicture(int pictureWidth, int pictureHeight) const {
    if (Width <= 0 || Height <= 0) return QRect();
    return Rect().intersected(QRect(0, 0, pictureWidth, pictureHeight));
}
