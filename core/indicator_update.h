#pragma once

#include "classification_controls.h"

#include <array>

namespace amino {

// What a face's real controls offer: the lists to read from, and the seven
// indicators to read and to write one by one.
class IndicatorControls {
public:
    virtual ~IndicatorControls() = default;

    // As ClassificationControls::listIndex() and listItem().
    virtual RowIndex listIndex() const = 0;
    virtual std::string listItem(int list, int row) const = 0;

    virtual bool isChecked(int check) const = 0;
    virtual void setChecked(int check, bool checked) = 0;

    virtual bool isSelected(int option) const = 0;
    // true selects option button `option`, and its group clears the one
    // selected before; false clears it.
    virtual void setSelected(int option, bool selected) = 0;
};

// One run of a display procedure against a face's controls. The indicators'
// values are taken from the controls when the run starts, the procedure's
// writes land on that copy, and apply() then touches only the controls whose
// value really changed. A run that changes nothing therefore redraws nothing,
// yet a change made by hand is still seen, because every run starts afresh
// from the controls.
class IndicatorUpdate final : public ClassificationControls {
public:
    explicit IndicatorUpdate(IndicatorControls &controls);

    RowIndex listIndex() const override;
    std::string listItem(int list, int row) const override;
    void setCheckValue(int index, int value) override;
    void setOptionValue(int index, bool value) override;

    void apply();

private:
    IndicatorControls &m_controls;
    std::array<bool, CheckBoxCount> m_checked{};
    std::array<bool, OptionButtonCount> m_selected{};
};

// ShowSelection and ClearIndicators as each face runs them: through one
// IndicatorUpdate.
void showSelectionOn(IndicatorControls &controls);
void clearIndicatorsOn(IndicatorControls &controls);

} // namespace amino
