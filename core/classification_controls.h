#pragma once

#include <cstdint>
#include <string>

namespace amino {

// Row index of the name list; -1 when no row is selected.
using RowIndex = std::int16_t;

inline constexpr int CheckBoxCount = 3;     // nutritional class indicators
inline constexpr int OptionButtonCount = 4; // residue class indicators

// The operations the display procedures need from the window's controls.
// The window implements them on its real widgets; tests use a recording
// stand-in.
class ClassificationControls {
public:
    virtual ~ClassificationControls() = default;

    // Selected row of the name list (list 0), or -1 when none is selected.
    virtual RowIndex listIndex() const = 0;

    // Text of item `row` of list `list` (0 names, 1 nutrition codes,
    // 2 residue codes); an empty string when there is no such item.
    virtual std::string listItem(int list, int row) const = 0;

    // 0 unchecks check box `index` (0..2), 1 checks it.
    virtual void setCheckValue(int index, int value) = 0;

    // true selects option button `index` (0..3) and clears the others of its
    // group; false clears it.
    virtual void setOptionValue(int index, bool value) = 0;
};

} // namespace amino
