#pragma once

#include <array>
#include <string_view>

// Where every control of the form sits and what colour it has, for all three
// faces of the program: the Qt window, the Windows window and the web page.
// The form is drawn in twips (1440 to the inch); at 96 dots per inch 15 twips
// make one pixel.
namespace amino::form {

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct Colour {
    int red;
    int green;
    int blue;
};

inline constexpr int TwipsPerInch = 1440;
inline constexpr int StandardDpi = 96;

// Twips are physical units: at `dpi` dots per inch a length covers this many
// pixels, to the nearest, halves away from zero (as Windows' MulDiv). At the
// standard 96 every figure below divides exactly.
constexpr int pixels(int twips, int dpi = StandardDpi)
{
    return (twips * dpi + TwipsPerInch / 2) / TwipsPerInch;
}

// Pixels of the rectangle's edges at `dpi`: each edge is rounded, so that
// controls that meet in twips meet on the screen too.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr PixelRect pixels(const TwipsRect &rect, int dpi)
{
    return {pixels(rect.left, dpi), pixels(rect.top, dpi), pixels(rect.left + rect.width, dpi),
            pixels(rect.top + rect.height, dpi)};
}

inline constexpr int ClientWidth = 6915;
inline constexpr int ClientHeight = 5265;

inline constexpr TwipsRect HeadingRect{960, 0, 4575, 375};
inline constexpr std::array<TwipsRect, 3> CheckRects{{
    {240, 480, 3855, 375},
    {240, 840, 3855, 375},
    {240, 1200, 3855, 375},
}};
inline constexpr std::array<TwipsRect, 4> OptionRects{{
    {240, 1800, 4215, 285},
    {240, 2160, 4215, 285},
    {240, 2520, 4215, 285},
    {240, 2880, 4215, 285},
}};
// The name list, then the two code lists, which are never shown.
inline constexpr std::array<TwipsRect, 3> ListRects{{
    {4800, 720, 1815, 2055},
    {5880, 1080, 735, 2055},
    {6120, 1200, 735, 2055},
}};
inline constexpr TwipsRect TextRect{120, 3360, 6735, 1815};

inline constexpr Colour WindowColour{192, 192, 255};
inline constexpr Colour HeadingColour{255, 192, 128};
inline constexpr Colour CheckColour{128, 255, 128};
inline constexpr Colour OptionColour{0, 255, 0};

// The face every control is drawn in.
inline constexpr std::string_view FontFamily = "Times New Roman";
inline constexpr int FontPoints = 12;
inline constexpr int FontWeight = 400;       // normal
inline constexpr int FontCharacterSet = 204; // Windows' Cyrillic set

inline constexpr int TimerInterval = 100; // milliseconds

} // namespace amino::form
