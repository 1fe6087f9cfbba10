#include "text_contrast.h"

#include <algorithm>
#include <cmath>

namespace amino::form {

namespace {

// From the gamma-encoded sRGB value (0..255) to linear light.
double linear(int channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const Colour &colour)
{
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

double contrastRatio(const Colour &first, const Colour &second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Colour textOn(const Colour &background, const Colour &preferred)
{
    return contrastRatio(background, preferred) >= MinimumContrast ? preferred : Colour{0, 0, 0};
}

} // namespace amino::form
