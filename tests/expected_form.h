#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a pupil must see, as tests/expected_form.json writes it out by hand.
// The suites of every face read it from there, never from the program, so
// that a wrong entry in the program shows up in each of them.
namespace expected {

using Rect = std::array<int, 4>;   // left, top, width, height, in pixels
using Colour = std::array<int, 3>; // red, green, blue

struct Control {
    std::string name;
    std::string role;
    std::string text;             // the caption, empty where there is none
    std::string accessibleName;   // for the controls without a caption
    Rect rect;                    // at 96 dpi
    std::optional<Colour> colour; // none: the toolkit's or the theme's own
};

struct Row {
    std::string name;
    std::string nutrition; // stored nutrition code
    std::string residue;   // stored residue code
    // "заменими", "незаменими", "условнозаменими": 1 checked
    std::string checks;
    int option; // the one selected option button
};

struct Form {
    std::string title;
    std::string programName;
    std::array<int, 2> client; // width, height at 96 dpi
    std::string fontFamily;
    int fontPoints;
    int fontPixels; // at 96 dpi
    int fontWeight;
    int windowsCharacterSet;
    int timerMilliseconds;
    Colour windowColour;
    std::vector<Control> controls;
    std::array<int, 2> clientAt144Dpi;
    std::vector<std::pair<std::string, Rect>> rectsAt144Dpi;
    std::vector<Row> rows;
    Row cleared; // the indicators with no row selected
    std::string lessonLineEnd;
    std::vector<std::string> lesson;

    // The control of that object name; the suite stops if there is none.
    const Control &control(std::string_view name) const;
    // The lesson as the program stores it: every line ended.
    std::string lessonText() const;
};

// Read once, from the file's text built into the suite.
const Form &form();

} // namespace expected
