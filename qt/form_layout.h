#pragma once

#include "form_geometry.h"

#include <QColor>
#include <QRect>
#include <QSize>

#include <array>

// The form's geometry and colours in the window's own units: pixels at 96
// dots per inch.
namespace FormLayout {

using amino::form::pixels;

constexpr QRect fromTwips(const amino::form::TwipsRect &rect)
{
    return QRect(pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height));
}

template <std::size_t Count>
constexpr std::array<QRect, Count> fromTwips(const std::array<amino::form::TwipsRect, Count> &rects)
{
    std::array<QRect, Count> geometry;
    for (std::size_t i = 0; i < Count; ++i)
        geometry[i] = fromTwips(rects[i]);
    return geometry;
}

constexpr QColor colour(const amino::form::Colour &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

constexpr QSize ClientSize(pixels(amino::form::ClientWidth), pixels(amino::form::ClientHeight));

constexpr QRect HeadingGeometry = fromTwips(amino::form::HeadingRect);
constexpr std::array<QRect, 3> CheckGeometry = fromTwips(amino::form::CheckRects);
constexpr std::array<QRect, 4> OptionGeometry = fromTwips(amino::form::OptionRects);
constexpr std::array<QRect, 3> ListGeometry = fromTwips(amino::form::ListRects);
constexpr QRect TextGeometry = fromTwips(amino::form::TextRect);

constexpr QColor WindowColour = colour(amino::form::WindowColour);
constexpr QColor HeadingColour = colour(amino::form::HeadingColour);
constexpr QColor CheckColour = colour(amino::form::CheckColour);
constexpr QColor OptionColour = colour(amino::form::OptionColour);

constexpr int TimerInterval = amino::form::TimerInterval;

} // namespace FormLayout
