#pragma once

#include <string>
#include <string_view>

// Windows takes and gives text as UTF-16; the form's definition and the
// display procedures speak UTF-8.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
