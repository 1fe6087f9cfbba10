#pragma once

#include "indicator_update.h"
#include "name_list.h"

#include <emscripten/val.h>

#include <array>

// The indicator operations over the page's own controls: the name list, the
// two hidden code lists, three check boxes and four radio buttons.
class DomIndicators final : public amino::IndicatorControls {
public:
    explicit DomIndicators(const NameList &names);

    amino::RowIndex listIndex() const override;
    std::string listItem(int list, int row) const override;
    bool isChecked(int check) const override;
    void setChecked(int check, bool checked) override;
    bool isSelected(int option) const override;
    void setSelected(int option, bool selected) override;

private:
    const NameList &m_names;
    std::array<emscripten::val, 2> m_codeLists;
    std::array<emscripten::val, amino::CheckBoxCount> m_checks;
    std::array<emscripten::val, amino::OptionButtonCount> m_options;
};
