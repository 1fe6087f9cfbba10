#pragma once

#include <array>
#include <string>
#include <string_view>

// Every text the form shows, in UTF-8, for all three faces of the program:
// the Qt window, the Windows window and the web page.
namespace amino::form {

// The program's name, as menus, installers and app stores show it.
inline constexpr std::string_view ProgramName = "Аминокиселини";

// The project's home page, shown at the start of the window title.
inline constexpr std::string_view HomePage = "aminokiselini.example";

std::string windowTitle();

inline constexpr std::string_view Heading = "Вид аминокиселини и остатък";

// The first caption carries a trailing line break of its own; see
// shownCaption().
inline constexpr std::array<std::string_view, 3> CheckCaptions{
    "заменими аминокиселини\r\n",
    "незаменими аминокиселини",
    "условнозаменими аминокиселини",
};

inline constexpr std::array<std::string_view, 4> OptionCaptions{
    "неутрални с неполярен остатък",
    "неутрални със слабо полярен остатък",
    "с ациден остатък",
    "с основен остатък",
};

// Names a screen reader announces for the controls without a caption.
inline constexpr std::string_view ListAccessibleName = "Аминокиселини";
inline constexpr std::string_view TextAccessibleName = "Обяснение";

// The caption a check box shows for a stored caption: without a trailing line
// break, which a check box has no room to show.
std::string_view shownCaption(std::string_view caption);

// The lesson shown under the indicators: 34 lines, each ended by CR LF.
std::string lessonText();

} // namespace amino::form
