#include "readable_colour.h"

namespace ReadableColour {

namespace {

amino::form::Colour fromQt(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}

} // namespace

double contrastRatio(const QColor &first, const QColor &second)
{
    return amino::form::contrastRatio(fromQt(first), fromQt(second));
}

QColor textOn(const QColor &background, const QColor &preferred)
{
    const amino::form::Colour text = amino::form::textOn(fromQt(background), fromQt(preferred));
    return QColor(text.red, text.green, text.blue);
}

} // namespace ReadableColour
