#pragma once

#include <QColor>

// Whether text reads on a background, measured the way accessibility
// guidelines do: the relative luminance of the two sRGB colours and the ratio
// between them, from 1 (the same) to 21 (black on white).
namespace ReadableColour {

// Normal-sized text needs at least this ratio to its background.
constexpr double MinimumContrast = 4.5;

double relativeLuminance(const QColor &colour);
double contrastRatio(const QColor &first, const QColor &second);

// The preferred text colour where it reads on the background, black elsewhere.
QColor textOn(const QColor &background, const QColor &preferred);

} // namespace ReadableColour
