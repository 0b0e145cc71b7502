#include "tools/filter_settings.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/runtime_errors.h"

int StrToInt(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^ *[+-]?[0-9]+$"));
    bool ok = integer.match(text).hasMatch();
    const int value = ok ? text.trimmed().toInt(&ok) : 0;
    if (!ok) throw UserError(QStringLiteral("'%1' は整数ではありません").arg(text));
    return value;
}

double StrToFloat(const QString& text) {
    static const QRegularExpression real(
        QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?\\s*$"));
    bool ok = real.match(text).hasMatch();
    const double value = ok ? text.trimmed().toDouble(&ok) : 0.0;
    // Infinity is no number a grid cell can hold.
    if (!ok || !std::isfinite(value))
        throw UserError(QStringLiteral("'%1' は浮動小数点数ではありません").arg(text));
    return value;
}

CustomFilterSettings ReadCustomFilter(const CustomFilterText& text) {
    CustomFilterSettings s;
    s.UseColour = text.UseColour;
    // The low byte, so that 300 gives 44 and -1 gives 255.
    s.Red = StrToInt(text.Red) & 0xFF;
    s.Green = StrToInt(text.Green) & 0xFF;
    s.Blue = StrToInt(text.Blue) & 0xFF;
    s.Strength = text.Strength;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) s.Kernel[a][b] = StrToFloat(text.Cells[a][b]);
    return s;
}
