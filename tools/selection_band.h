#pragma once
// The rubber band of Cut and Copy (SelShape1) in picture coordinates, and the status texts that
// go with it.
#include <QRect>
#include <QString>

// "位置( x , y )": the pointer's picture position.
QString PointerStatusText(int x, int y);

class SelectionBand {
  public:
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = false;

    // A press: the band's corner goes to the point and it shows; its size stays as it was.
    void Start(int x, int y);
    // A move: the band grows or shrinks toward the pointer, but only from its top-left corner
    // to the right and downwards. False when the pointer is left of or above the corner, which
    // leaves the band as it was.
    bool Follow(int x, int y);
    // "位置( L , T ) -> ( x , y ) = ( W x H )".
    QString StatusText(int x, int y) const;
    // Hidden, at (0, 0) and without size, as a completed cut or copy leaves it.
    void Reset();

    QRect Rect() const { return QRect(Left, Top, Width, Height); }
    // The part of the band that lies on a picture of the given size (empty when none).
    QRect OnPicture(int pictureWidth, int pictureHeight) const;
};
