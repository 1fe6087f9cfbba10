#include "indicator_update.h"

#include "classification_display.h"

#include <algorithm>

namespace amino {

IndicatorUpdate::IndicatorUpdate(IndicatorControls &controls) : m_controls(controls)
{
    for (int i = 0; i < CheckBoxCount; ++i)
        m_checked[i] = controls.isChecked(i);
    for (int j = 0; j < OptionButtonCount; ++j)
        m_selected[j] = controls.isSelected(j);
}

RowIndex IndicatorUpdate::listIndex() const
{
    return m_controls.listIndex();
}

std::string IndicatorUpdate::listItem(int list, int row) const
{
    return m_controls.listItem(list, row);
}

void IndicatorUpdate::setCheckValue(int index, int value)
{
    if (index >= 0 && index < CheckBoxCount)
        m_checked[index] = value != 0;
}

void IndicatorUpdate::setOptionValue(int index, bool value)
{
    if (index < 0 || index >= OptionButtonCount)
        return;
    if (value)
        m_selected.fill(false); // the buttons form one group
    m_selected[index] = value;
}

void IndicatorUpdate::apply()
{
    for (int i = 0; i < CheckBoxCount; ++i) {
        if (m_controls.isChecked(i) != m_checked[i])
            m_controls.setChecked(i, m_checked[i]);
    }

    const auto target = std::find(m_selected.begin(), m_selected.end(), true);
    if (target != m_selected.end()) {
        const int option = int(target - m_selected.begin());
        if (!m_controls.isSelected(option))
            m_controls.setSelected(option, true);
        return;
    }
    for (int j = 0; j < OptionButtonCount; ++j) {
        if (m_controls.isSelected(j))
            m_controls.setSelected(j, false);
    }
}

void showSelectionOn(IndicatorControls &controls)
{
    IndicatorUpdate update(controls);
    ShowSelection(update);
    update.apply();
}

void clearIndicatorsOn(IndicatorControls &controls)
{
    IndicatorUpdate update(controls);
    ClearIndicators(update);
    update.apply();
}

} // namespace amino
