#pragma once

#include "indicator_update.h"

#include <windows.h>

#include <array>

// The window's controls as the display procedures see them.
struct FormHandles {
    HWND form;
    std::array<HWND, 3> lists;
    std::array<HWND, amino::CheckBoxCount> checks;
    std::array<HWND, amino::OptionButtonCount> options;
};

// The indicator operations over the real controls.
class HandleIndicators final : public amino::IndicatorControls {
public:
    explicit HandleIndicators(const FormHandles &handles) : m_handles(handles) {}

    amino::RowIndex listIndex() const override;
    std::string listItem(int list, int row) const override;
    bool isChecked(int check) const override;
    void setChecked(int check, bool checked) override;
    bool isSelected(int option) const override;
    void setSelected(int option, bool selected) override;

private:
    const FormHandles &m_handles;
};
