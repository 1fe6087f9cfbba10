#include "readable_colour.h"

#include <algorithm>
#include <cmath>

namespace ReadableColour {

namespace {

// From the gamma-encoded sRGB value to linear light.
double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor &first, const QColor &second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor textOn(const QColor &background, const QColor &preferred)
{
    // The window's backgrounds are all light: black reads on every one.
    return contrastRatio(background, preferred) >= MinimumContrast ? preferred : QColor(Qt::black);
}

} // namespace ReadableColour
