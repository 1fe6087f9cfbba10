#include "wide_text.h"

#include <windows.h>

std::wstring widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = int(utf8.size());
    std::wstring text(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), int(text.size()));
    return text;
}

std::string narrow(std::wstring_view utf16)
{
    if (utf16.empty())
        return {};
    const int size = int(utf16.size());
    std::string text(
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), int(text.size()), nullptr,
                        nullptr);
    return text;
}
