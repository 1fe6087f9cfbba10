#pragma once

#include "classification_controls.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QListWidget;
class QRadioButton;

// The window's controls as the display procedures see them.
struct FormControls {
    std::array<QListWidget *, 3> lists;
    std::array<QCheckBox *, amino::CheckBoxCount> checks;
    std::array<QRadioButton *, amino::OptionButtonCount> options;
    QButtonGroup *optionGroup;
};

// One run of a display procedure against the real widgets. The indicators'
// values are taken from the widgets when the run starts, the procedure's
// writes land on that copy, and apply() then touches only the widgets whose
// value really changed. A run that changes nothing therefore repaints nothing,
// yet a change made by hand is still seen, because every run starts afresh
// from the widgets.
class IndicatorUpdate final : public amino::ClassificationControls {
public:
    explicit IndicatorUpdate(const FormControls &controls);

    amino::RowIndex listIndex() const override;
    std::string listItem(int list, int row) const override;
    void setCheckValue(int index, int value) override;
    void setOptionValue(int index, bool value) override;

    void apply();

private:
    const FormControls &m_controls;
    std::array<bool, amino::CheckBoxCount> m_checked{};
    std::array<bool, amino::OptionButtonCount> m_selected{};
};
