#pragma once

#include <QColor>
#include <QImage>

#include <cstdlib>

// Reading rendered pictures.
namespace viewertest {

/// The colour at (x, y) counted from the lower-left corner, as OpenGL counts; black outside.
inline QColor pixel(const QImage& image, int x, int y)
{
    const int row = image.height() - 1 - y;
    return image.valid(x, row) ? image.pixelColor(x, row) : QColor(Qt::black);
}

inline bool sameColour(const QColor& c, int r, int g, int b, int tolerance = 3)
{
    return std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
           std::abs(c.blue() - b) <= tolerance;
}
/// Matches one colour, three steps either way on each channel.
inline auto colour(int r, int g, int b)
{
    return [=](const QColor& c) { return sameColour(c, r, g, b); };
}
inline const auto isGrey = colour(179, 179, 179); // the background
inline const auto isBlack = colour(0, 0, 0);
inline const auto isWhite = colour(255, 255, 255);
inline const auto isRed = colour(255, 0, 0);
inline const auto isBlue = colour(0, 0, 255);
inline const auto isYellow = colour(255, 255, 0);
inline const auto isMagenta = colour(255, 0, 255);

} // namespace viewertest
