#include "page.h"

#include "form_geometry.h"
#include "form_strings.h"

#include <cstdio>
#include <string>

namespace page {

namespace {

std::string hex(const amino::form::Colour &c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

std::string icon(std::string_view file, int size)
{
    const std::string sizes = std::to_string(size) + "x" + std::to_string(size);
    return "{ \"src\": \"" + std::string(file) + "\", \"sizes\": \"" + sizes +
           "\", \"type\": \"image/png\" }";
}

} // namespace

std::string manifest()
{
    // The program's name has no quotes or backslashes to escape in JSON.
    const std::string name(amino::form::ProgramName);
    const std::string background = hex(amino::form::WindowColour);
    return "{\n"
           "  \"name\": \"" +
           name + "\",\n  \"short_name\": \"" + name +
           "\",\n"
           "  \"lang\": \"bg\",\n"
           "  \"start_url\": \"index.html\",\n"
           "  \"scope\": \"./\",\n"
           "  \"display\": \"standalone\",\n"
           "  \"background_color\": \"" +
           background + "\",\n  \"theme_color\": \"" + background + "\",\n  \"icons\": [\n    " +
           icon(IconFile192, 192) + ",\n    " + icon(IconFile512, 512) + "\n  ]\n}\n";
}

} // namespace page
