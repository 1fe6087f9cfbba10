#pragma once

#include "classification_controls.h"

#include <emscripten/val.h>

#include <string>
#include <string_view>

// The page's list of names: a list box made of ARIA listbox and option
// elements, so that it stays a list of rows on every phone. The selection
// lives in the rows' aria-selected attributes and nowhere else.
class NameList {
public:
    NameList();

    int rowCount() const;
    std::string rowText(int row) const;
    amino::RowIndex selectedRow() const;
    void select(int row);

    // A key pressed in the list, as a list box answers it: the arrows, Page
    // Up and Down, Home, End, or a letter for the next name that starts with
    // it. Returns whether the key was the list's own.
    bool press(std::string_view key, bool withModifier);

private:
    int pageRows() const;
    int nextStartingWith(std::string_view key) const;

    emscripten::val m_list;
    emscripten::val m_rows;
};
