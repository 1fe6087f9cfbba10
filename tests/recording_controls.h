#pragma once

#include "amino_acid_table.h"
#include "classification_controls.h"

#include <array>
#include <string>
#include <vector>

// A stand-in for the window's controls: holds a selection, a table of list
// items and the seven indicator values, and records every operation in order.
class RecordingControls final : public amino::ClassificationControls {
public:
    enum class Op { ReadIndex, ReadItem, WriteCheck, WriteOption };
    struct Record {
        Op op;
        int index; // list for ReadItem, indicator otherwise
        int value; // row for ReadItem, the written value for writes
    };

    RecordingControls()
    {
        for (int list = 0; list < amino::AminoAcidTable::listCount; ++list)
            for (int row = 0; row < amino::AminoAcidTable::rowCount; ++row)
                items[list].emplace_back(amino::AminoAcidTable::item(list, row));
    }

    amino::RowIndex listIndex() const override
    {
        log.push_back({Op::ReadIndex, 0, selected});
        return selected;
    }

    std::string listItem(int list, int row) const override
    {
        log.push_back({Op::ReadItem, list, row});
        if (list < 0 || list >= int(items.size()) || row < 0 || row >= int(items[list].size()))
            return {};
        return items[list][row];
    }

    void setCheckValue(int index, int value) override
    {
        log.push_back({Op::WriteCheck, index, value});
        checks.at(index) = value;
    }

    void setOptionValue(int index, bool value) override
    {
        log.push_back({Op::WriteOption, index, value});
        if (value)
            options.fill(false);
        options.at(index) = value;
    }

    amino::RowIndex selected = -1;
    std::array<std::vector<std::string>, amino::AminoAcidTable::listCount> items;
    std::array<int, amino::CheckBoxCount> checks{};
    std::array<bool, amino::OptionButtonCount> options{};
    mutable std::vector<Record> log;
};
