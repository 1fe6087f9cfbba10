#include "classification_display.h"

#include "amino_acid_table.h"

#include <cmath>

namespace amino {

namespace {

// Nearest whole number, halves to even (the default floating-point rounding
// mode, which the program never changes).
double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

bool namesIndicator(std::optional<double> code, int indicatorCount)
{
    return code && *code >= 0 && roundHalfEven(*code) < indicatorCount;
}

} // namespace

std::optional<double> codeValue(std::string_view text)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '9')
        return std::nullopt;
    return text[0] - '0';
}

void ClearIndicators(ClassificationControls &controls)
{
    for (int i = 0; i < CheckBoxCount; ++i)
        controls.setCheckValue(i, 0);
    for (int j = 0; j < OptionButtonCount; ++j)
        controls.setOptionValue(j, false);
}

void ShowSelection(ClassificationControls &controls)
{
    const RowIndex row = controls.listIndex();
    if (row < 0) {
        ClearIndicators(controls);
        return;
    }

    // Both codes are read before any indicator changes.
    const std::optional<double> nutrition =
        codeValue(controls.listItem(AminoAcidTable::NutritionCodes, row));
    const std::optional<double> residue =
        codeValue(controls.listItem(AminoAcidTable::ResidueCodes, row));

    ClearIndicators(controls);

    // A code that names no indicator leaves everything clear rather than
    // reaching for a control that does not exist.
    if (!namesIndicator(nutrition, CheckBoxCount) || !namesIndicator(residue, OptionButtonCount))
        return;

    controls.setCheckValue(static_cast<int>(roundHalfEven(*nutrition)), 1);
    // A conditionally essential amino acid is also shown as essential.
    if (*nutrition == 2)
        controls.setCheckValue(1, 1);
    controls.setOptionValue(static_cast<int>(roundHalfEven(*residue)), true);
}

} // namespace amino
