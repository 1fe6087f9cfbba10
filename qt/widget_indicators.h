#pragma once

#include "indicator_update.h"

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

// The indicator operations over the real widgets.
class WidgetIndicators final : public amino::IndicatorControls {
public:
    explicit WidgetIndicators(const FormControls &controls) : m_controls(controls) {}

    amino::RowIndex listIndex() const override;
    std::string listItem(int list, int row) const override;
    bool isChecked(int check) const override;
    void setChecked(int check, bool checked) override;
    bool isSelected(int option) const override;
    void setSelected(int option, bool selected) override;

private:
    const FormControls &m_controls;
};
