#include "name_list.h"

#include <algorithm>
#include <string>

using emscripten::val;

namespace {

const std::string RowIdPrefix = "List1_0_";

std::string lowerCase(const std::string &text)
{
    return val(text).call<std::string>("toLocaleLowerCase", std::string("bg"));
}

} // namespace

NameList::NameList()
    : m_list(val::global("document").call<val>("getElementById", std::string("List1_0"))),
      m_rows(m_list["children"])
{
}

int NameList::rowCount() const
{
    return m_rows["length"].as<int>();
}

std::string NameList::rowText(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_rows[row]["textContent"].as<std::string>();
}

amino::RowIndex NameList::selectedRow() const
{
    const val row = m_list.call<val>("querySelector", std::string("[aria-selected=\"true\"]"));
    if (row.isNull())
        return -1;
    const std::string id = row["id"].as<std::string>();
    return amino::RowIndex(std::stoi(id.substr(RowIdPrefix.size())));
}

void NameList::select(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const int before = selectedRow();
    if (before == row)
        return;
    if (before >= 0)
        m_rows[before].call<void>("setAttribute", std::string("aria-selected"),
                                  std::string("false"));
    const val chosen = m_rows[row];
    chosen.call<void>("setAttribute", std::string("aria-selected"), std::string("true"));
    m_list.call<void>("setAttribute", std::string("aria-activedescendant"),
                      chosen["id"].as<std::string>());
    val where = val::object();
    where.set("block", std::string("nearest"));
    chosen.call<void>("scrollIntoView", where);
}

int NameList::pageRows() const
{
    const double rowHeight = rowCount() > 0 ? m_rows[0]["offsetHeight"].as<double>() : 0;
    const double shown = m_list["clientHeight"].as<double>();
    return rowHeight > 0 ? std::max(1, int(shown / rowHeight) - 1) : 1;
}

int NameList::nextStartingWith(std::string_view key) const
{
    const std::string initial = lowerCase(std::string(key));
    const int count = rowCount();
    const int from = std::max<int>(selectedRow(), -1);
    for (int step = 1; step <= count; ++step) {
        const int row = (from + step) % count;
        if (lowerCase(rowText(row)).starts_with(initial))
            return row;
    }
    return -1;
}

bool NameList::press(std::string_view key, bool withModifier)
{
    const int count = rowCount();
    const int row = selectedRow();
    int target = -1;
    if (key == "ArrowDown")
        target = row < 0 ? 0 : std::min(row + 1, count - 1);
    else if (key == "ArrowUp")
        target = row < 0 ? 0 : std::max(row - 1, 0);
    else if (key == "PageDown")
        target = std::min(std::max(row, 0) + pageRows(), count - 1);
    else if (key == "PageUp")
        target = std::max(row - pageRows(), 0);
    else if (key == "Home")
        target = 0;
    else if (key == "End")
        target = count - 1;
    else if (!withModifier && val(std::string(key))["length"].as<int>() == 1 && key != " ")
        target = nextStartingWith(key);
    else
        return false;

    if (target >= 0)
        select(target);
    return true;
}
