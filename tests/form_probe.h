#pragma once

#include "main_form.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

// What the seven indicators of a window show, in the shape of ExpectedRow.
inline QString shownChecks(const MainForm &form)
{
    QString pattern;
    for (const QCheckBox *box : form.Check1)
        pattern += box->isChecked() ? u'1' : u'0';
    return pattern;
}

// The selected option button, -1 for none, -2 if more than one.
inline int shownOption(const MainForm &form)
{
    int shown = -1;
    for (int j = 0; j < int(form.Option1.size()); ++j) {
        if (form.Option1[j]->isChecked())
            shown = shown == -1 ? j : -2;
    }
    return shown;
}

// Centre of a row of the visible list, in the list's viewport coordinates.
inline QPoint rowCentre(const MainForm &form, int row)
{
    QListWidget *list = form.List1[0];
    list->scrollToItem(list->item(row));
    return list->visualItemRect(list->item(row)).center();
}
