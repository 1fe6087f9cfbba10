#include "widget_indicators.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

amino::RowIndex WidgetIndicators::listIndex() const
{
    // The selected row, not Qt's current row: after a Ctrl+click clears the
    // selection the current row stays, but nothing is selected.
    const QModelIndexList selected = m_controls.lists[0]->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? amino::RowIndex(-1) : amino::RowIndex(selected.first().row());
}

std::string WidgetIndicators::listItem(int list, int row) const
{
    if (list < 0 || list >= int(m_controls.lists.size()))
        return {};
    const QListWidgetItem *item = m_controls.lists[list]->item(row);
    return item ? item->text().toStdString() : std::string();
}

bool WidgetIndicators::isChecked(int check) const
{
    return m_controls.checks[check]->isChecked();
}

void WidgetIndicators::setChecked(int check, bool checked)
{
    m_controls.checks[check]->setChecked(checked);
}

bool WidgetIndicators::isSelected(int option) const
{
    return m_controls.options[option]->isChecked();
}

void WidgetIndicators::setSelected(int option, bool selected)
{
    QRadioButton *button = m_controls.options[option];
    if (selected) {
        button->setChecked(true); // the group clears the one checked before
        return;
    }
    // An exclusive group ignores unchecking its checked button, so it is
    // lifted for the moment that clearing the button takes.
    m_controls.optionGroup->setExclusive(false);
    button->setChecked(false);
    m_controls.optionGroup->setExclusive(true);
}
