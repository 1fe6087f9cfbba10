#pragma once

#include <array>
#include <string_view>

namespace amino {

// The twenty proteinogenic amino acids the lesson covers, in the order the
// pupils see them. The window holds the table as three parallel lists of
// text, one list control each: the names, the nutrition codes and the residue
// codes. The codes stay text; they become numbers only when a row is shown.
class AminoAcidTable {
public:
    static constexpr int rowCount = 20;

    enum List { Names = 0, NutritionCodes = 1, ResidueCodes = 2 };
    static constexpr int listCount = 3;

    // Item `row` of list `list`; both are zero-based and must be in range.
    static constexpr std::string_view item(int list, int row)
    {
        const Row &entry = rows[row];
        return list == Names            ? entry.name
               : list == NutritionCodes ? entry.nutrition
                                        : entry.residue;
    }

private:
    struct Row {
        std::string_view name;
        // 0 non-essential, 1 essential, 2 conditionally essential
        std::string_view nutrition;
        // 0 neutral non-polar, 1 neutral weakly polar, 2 acidic, 3 basic
        std::string_view residue;
    };

    static constexpr std::array<Row, rowCount> rows{{
        {"Лизин", "1", "3"},       {"Триптофан", "1", "1"}, {"Левцин", "1", "0"},
        {"Треонин", "1", "1"},     {"Метионин", "1", "1"},  {"Валин", "1", "0"},
        {"Фенилаланин", "1", "0"}, {"Изолевцин", "1", "0"}, {"Хистидин", "1", "3"},
        {"Аланин", "0", "0"},      {"Аспартат", "0", "2"},  {"Глутамат", "0", "2"},
        {"Аргинин", "2", "3"},     {"Аспарагин", "2", "1"}, {"Цистеин", "2", "1"},
        {"Глутамин", "2", "1"},    {"Глицин", "2", "0"},    {"Пролин", "2", "0"},
        {"Тирозин", "2", "1"},     {"Серин", "2", "1"},
    }};
};

} // namespace amino
