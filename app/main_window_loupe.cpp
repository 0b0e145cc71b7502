// The main window's side of the loupe window: the picture and the clip the core hands it.
#include "app/main_window.h"
#include "loupe/loupe_window.h"
#include "loupe/lupe.h"

TForm11* TForm1::LoupeForm() const {
    return qobject_cast<TForm11*>(loupeWindow_);
}

void TForm1::CopyToLoupe(const Bitmap& picture) {
    if (TForm11* loupe = LoupeForm()) loupe->CopyPicture(picture);
}

QSize TForm1::LoupeClipSize() {
    TForm11* loupe = LoupeForm();
    return loupe ? QSize(loupe->Lupe1->ClipWidth(), loupe->Lupe1->ClipHeight()) : QSize();
}

void TForm1::SetLoupeClipTop(int top) {
    if (TForm11* loupe = LoupeForm()) loupe->Lupe1->SetClipTop(top);
}

void TForm1::SetLoupeClipLeft(int left) {
    if (TForm11* loupe = LoupeForm()) loupe->Lupe1->SetClipLeft(left);
}
