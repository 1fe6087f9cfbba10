#include "indicator_update.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>

IndicatorUpdate::IndicatorUpdate(const FormControls &controls) : m_controls(controls)
{
    for (int i = 0; i < amino::CheckBoxCount; ++i)
        m_checked[i] = controls.checks[i]->isChecked();
    for (int j = 0; j < amino::OptionButtonCount; ++j)
        m_selected[j] = controls.options[j]->isChecked();
}

amino::RowIndex IndicatorUpdate::listIndex() const
{
    // The selected row, not Qt's current row: after a Ctrl+click clears the
    // selection the current row stays, but nothing is selected.
    const QModelIndexList selected = m_controls.lists[0]->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? amino::RowIndex(-1) : amino::RowIndex(selected.first().row());
}

std::string IndicatorUpdate::listItem(int list, int row) const
{
    if (list < 0 || list >= int(m_controls.lists.size()))
        return {};
    const QListWidgetItem *item = m_controls.lists[list]->item(row);
    return item ? item->text().toStdString() : std::string();
}

void IndicatorUpdate::setCheckValue(int index, int value)
{
    if (index >= 0 && index < amino::CheckBoxCount)
        m_checked[index] = value != 0;
}

void IndicatorUpdate::setOptionValue(int index, bool value)
{
    if (index < 0 || index >= amino::OptionButtonCount)
        return;
    if (value)
        m_selected.fill(false); // the buttons form one group
    m_selected[index] = value;
}

void IndicatorUpdate::apply()
{
    for (int i = 0; i < amino::CheckBoxCount; ++i) {
        if (m_controls.checks[i]->isChecked() != m_checked[i])
            m_controls.checks[i]->setChecked(m_checked[i]);
    }

    const auto target = std::find(m_selected.begin(), m_selected.end(), true);
    if (target != m_selected.end()) {
        QRadioButton *button = m_controls.options[target - m_selected.begin()];
        if (!button->isChecked())
            button->setChecked(true); // the group clears the one checked before
        return;
    }

    // An exclusive group ignores unchecking its checked button, so it is
    // lifted for the moment that clearing the group takes.
    if (QAbstractButton *checked = m_controls.optionGroup->checkedButton()) {
        m_controls.optionGroup->setExclusive(false);
        checked->setChecked(false);
        m_controls.optionGroup->setExclusive(true);
    }
}
