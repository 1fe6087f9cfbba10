#pragma once

#include "form_geometry.h"

// Whether text reads on a background, measured the way accessibility
// guidelines do: the relative luminance of the two sRGB colours and the ratio
// between them, from 1 (the same) to 21 (black on white).
namespace amino::form {

// Normal-sized text needs at least this ratio to its background.
inline constexpr double MinimumContrast = 4.5;

double relativeLuminance(const Colour &colour);
double contrastRatio(const Colour &first, const Colour &second);

// The preferred text colour where it reads on the background, black elsewhere:
// the form's fixed backgrounds are all light, and black reads on every one.
Colour textOn(const Colour &background, const Colour &preferred);

} // namespace amino::form
