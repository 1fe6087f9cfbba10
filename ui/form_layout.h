#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

#include <array>

// Where every control sits and what colour it has. The layout is drawn in
// twips (1440 to the inch); at 96 dots per inch 15 twips make one pixel, and
// every figure below divides exactly.
namespace FormLayout {

constexpr int TwipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return twips / TwipsPerPixel;
}

constexpr QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

constexpr QSize ClientSize(pixels(6915), pixels(5265));

constexpr QRect HeadingGeometry = fromTwips(960, 0, 4575, 375);
constexpr std::array<QRect, 3> CheckGeometry = {
    fromTwips(240, 480, 3855, 375),
    fromTwips(240, 840, 3855, 375),
    fromTwips(240, 1200, 3855, 375),
};
constexpr std::array<QRect, 4> OptionGeometry = {
    fromTwips(240, 1800, 4215, 285),
    fromTwips(240, 2160, 4215, 285),
    fromTwips(240, 2520, 4215, 285),
    fromTwips(240, 2880, 4215, 285),
};
constexpr std::array<QRect, 3> ListGeometry = {
    fromTwips(4800, 720, 1815, 2055),
    fromTwips(5880, 1080, 735, 2055),
    fromTwips(6120, 1200, 735, 2055),
};
constexpr QRect TextGeometry = fromTwips(120, 3360, 6735, 1815);

constexpr QColor WindowColour(192, 192, 255);
constexpr QColor HeadingColour(255, 192, 128);
constexpr QColor CheckColour(128, 255, 128);
constexpr QColor OptionColour(0, 255, 0);

constexpr int TimerInterval = 100; // milliseconds

} // namespace FormLayout
