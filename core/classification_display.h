#pragma once

#include "classification_controls.h"

#include <optional>
#include <string_view>

namespace amino {

// Unchecks the three check boxes, then clears the four option buttons.
void ClearIndicators(ClassificationControls &controls);

// Shows the classification of the row selected in the name list: the check
// box named by its nutrition code (plus "essential" for a conditionally
// essential one) and the option button named by its residue code. Clears all
// seven indicators when no row is selected or when the row's codes name no
// indicator.
void ShowSelection(ClassificationControls &controls);

// Value of a code stored as text: a single decimal digit, or nothing.
std::optional<double> codeValue(std::string_view text);

} // namespace amino
