#pragma once

#include <array>

// What the lesson teaches about each row, written out by hand rather than
// derived from the program's own table, so that a wrong code there shows up.
struct ExpectedRow {
    const char *name;
    const char *nutrition; // stored nutrition code
    const char *residue;   // stored residue code
    // "заменими", "незаменими", "условнозаменими": 1 checked
    const char *checks;
    int option; // the one selected option button
};

inline constexpr std::array<ExpectedRow, 20> ExpectedTable{{
    {"Лизин", "1", "3", "010", 3},       {"Триптофан", "1", "1", "010", 1},
    {"Левцин", "1", "0", "010", 0},      {"Треонин", "1", "1", "010", 1},
    {"Метионин", "1", "1", "010", 1},    {"Валин", "1", "0", "010", 0},
    {"Фенилаланин", "1", "0", "010", 0}, {"Изолевцин", "1", "0", "010", 0},
    {"Хистидин", "1", "3", "010", 3},    {"Аланин", "0", "0", "100", 0},
    {"Аспартат", "0", "2", "100", 2},    {"Глутамат", "0", "2", "100", 2},
    {"Аргинин", "2", "3", "011", 3},     {"Аспарагин", "2", "1", "011", 1},
    {"Цистеин", "2", "1", "011", 1},     {"Глутамин", "2", "1", "011", 1},
    {"Глицин", "2", "0", "011", 0},      {"Пролин", "2", "0", "011", 0},
    {"Тирозин", "2", "1", "011", 1},     {"Серин", "2", "1", "011", 1},
}};

// Indicator state with no row selected.
inline constexpr const char *ClearChecks = "000";
inline constexpr int NoOption = -1;
