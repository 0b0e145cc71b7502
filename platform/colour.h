#pragma once
// Colour values packed as red + 256 * green + 65536 * blue.
#include <cstdint>

#include <QColor>

using TColor = std::uint32_t;

// What a read outside a bitmap reports: equal to no colour, black where channels are used.
constexpr TColor kNoColour = 0xFFFFFFFFu;
constexpr TColor clBlack = 0x000000u;
constexpr TColor clWhite = 0xFFFFFFu;

constexpr TColor RgbColour(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int RedOf(TColor c) {
    return c == kNoColour ? 0 : int(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return c == kNoColour ? 0 : int((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return c == kNoColour ? 0 : int((c >> 16) & 0xFF);
}

// Two colours are the same when red, green and blue agree; "no colour" matches nothing.
constexpr bool SameColour(TColor a, TColor b) {
    return a != kNoColour && b != kNoColour && (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

inline QColor ToQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline TColor FromQColor(const QColor& q) {
    return RgbColour(q.red(), q.green(), q.blue());
}

// One channel of a colour with coverage alpha (0 to 255) laid over white, rounded: how every
// picture with transparency becomes a layer, which has none.
constexpr std::uint8_t OverWhite(int channel, int alpha) {
    return std::uint8_t((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}
