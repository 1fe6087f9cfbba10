#include "handle_indicators.h"

#include "wide_text.h"

#include <string>

amino::RowIndex HandleIndicators::listIndex() const
{
    const LRESULT row = SendMessageW(m_handles.lists[0], LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? amino::RowIndex(-1) : amino::RowIndex(row);
}

std::string HandleIndicators::listItem(int list, int row) const
{
    if (list < 0 || list >= int(m_handles.lists.size()))
        return {};
    const HWND box = m_handles.lists[list];
    const LRESULT length = SendMessageW(box, LB_GETTEXTLEN, WPARAM(row), 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(SendMessageW(box, LB_GETTEXT, WPARAM(row), LPARAM(text.data()))));
    return narrow(text);
}

bool HandleIndicators::isChecked(int check) const
{
    return SendMessageW(m_handles.checks[check], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void HandleIndicators::setChecked(int check, bool checked)
{
    SendMessageW(m_handles.checks[check], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool HandleIndicators::isSelected(int option) const
{
    return SendMessageW(m_handles.options[option], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void HandleIndicators::setSelected(int option, bool selected)
{
    if (!selected) {
        SendMessageW(m_handles.options[option], BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    // A program's BM_SETCHECK leaves the rest of the group as it is; the
    // dialog manager's CheckRadioButton clears the others.
    const auto id = [](HWND button) {
        return GetDlgCtrlID(button);
    };
    CheckRadioButton(m_handles.form, id(m_handles.options.front()), id(m_handles.options.back()),
                     id(m_handles.options[option]));
}
