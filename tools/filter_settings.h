#pragma once
// What each of the eight layer filters needs to know before it runs, and the custom filter's
// dialog texts turned into numbers the way the runtime converts them.
#include <QString>

enum FilterKind {
    fkSoft,
    fkInvert,
    fkContrast,
    fkGammaPlus,
    fkGammaMinus,
    fkColourCorrection,
    fkValueExtraction,
    fkCustom
};

// The colour-correction dialog's three offsets, -100..100.
struct ColourOffsets {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
};

// The custom-filter dialog as the user left it: texts are converted only when the filter runs.
struct CustomFilterText {
    bool UseColour = false;
    QString Red = QStringLiteral("128");
    QString Green = QStringLiteral("128");
    QString Blue = QStringLiteral("128");
    int Strength = 40;
    // Grid cells by row, then column.
    QString Cells[3][3] = {{QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("0")},
                           {QStringLiteral("-1"), QStringLiteral("4"), QStringLiteral("-1")},
                           {QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("0")}};
};

struct CustomFilterSettings {
    bool UseColour = false;
    // Each edit value reduced to its low byte.
    int Red = 128;
    int Green = 128;
    int Blue = 128;
    int Strength = 40;
    // Kernel[a][b]: grid row a, column b.
    double Kernel[3][3] = {};
};

// One filter with the values it runs with.
struct FilterJob {
    FilterKind Kind = fkInvert;
    int ContrastStrength = 70;
    ColourOffsets Offsets;
    int Level = 5;
    CustomFilterSettings Custom;
};

// The runtime's text conversions: a UserError with the runtime's message when the text is no
// integer (a 32-bit decimal, optionally signed, after optional blanks) or no real number.
int StrToInt(const QString& text);
double StrToFloat(const QString& text);

// Converts the dialog's texts in the order the filter reads them: the three colour edits, then
// the grid row by row. Throws the first conversion's UserError.
CustomFilterSettings ReadCustomFilter(const CustomFilterText& text);
