#pragma once

#include "text_contrast.h"

#include <QColor>

// The form's contrast measure on Qt's colours.
namespace ReadableColour {

double contrastRatio(const QColor &first, const QColor &second);

// The preferred text colour where it reads on the background, black elsewhere.
QColor textOn(const QColor &background, const QColor &preferred);

} // namespace ReadableColour
