#pragma once
// The program's user-interface font. Its captions are set in "ＭＳ Ｐゴシック", which Linux
// lacks: a substitution maps the family onto an installed Japanese gothic.
#include <QFont>

void InstallFontSubstitutes();
// "ＭＳ Ｐゴシック" at the given pixel height.
QFont UiFont(int pixelSize, bool bold = false);
