#include "dom_indicators.h"

#include <string>

using emscripten::val;

namespace {

val byId(const std::string &id)
{
    return val::global("document").call<val>("getElementById", id);
}

// The input inside an indicator's label.
val input(const std::string &labelId)
{
    return byId(labelId).call<val>("querySelector", std::string("input"));
}

} // namespace

DomIndicators::DomIndicators(const NameList &names)
    : m_names(names),
      m_codeLists{byId("List1_1"), byId("List1_2")},
      m_checks{input("Check1_0"), input("Check1_1"), input("Check1_2")},
      m_options{input("Option1_0"), input("Option1_1"), input("Option1_2"), input("Option1_3")}
{
}

amino::RowIndex DomIndicators::listIndex() const
{
    return m_names.selectedRow();
}

std::string DomIndicators::listItem(int list, int row) const
{
    if (list == 0)
        return m_names.rowText(row);
    if (list < 1 || list > int(m_codeLists.size()))
        return {};
    const val items = m_codeLists[list - 1]["children"];
    if (row < 0 || row >= items["length"].as<int>())
        return {};
    return items[row]["textContent"].as<std::string>();
}

bool DomIndicators::isChecked(int check) const
{
    return m_checks[check]["checked"].as<bool>();
}

void DomIndicators::setChecked(int check, bool checked)
{
    m_checks[check].set("checked", checked);
}

bool DomIndicators::isSelected(int option) const
{
    return m_options[option]["checked"].as<bool>();
}

void DomIndicators::setSelected(int option, bool selected)
{
    // Radio buttons of one name form a group: checking one clears the rest.
    m_options[option].set("checked", selected);
}
