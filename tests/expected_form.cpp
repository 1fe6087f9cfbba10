#include "expected_form.h"

#include "expected_form_json.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

namespace expected {

namespace {

Control control(const nlohmann::json &entry)
{
    Control control{entry.at("name"),        entry.at("role"),
                    entry.value("text", ""), entry.value("accessibleName", ""),
                    entry.at("rect"),        std::nullopt};
    if (entry.contains("colour"))
        control.colour = entry.at("colour").get<Colour>();
    return control;
}

Row row(const nlohmann::json &entry)
{
    return {entry.value("name", ""), entry.value("nutrition", ""), entry.value("residue", ""),
            entry.at("checks"), entry.at("option")};
}

Form read()
{
    const auto json = nlohmann::json::parse(ExpectedFormJson);
    const auto &font = json.at("font");
    const auto &at144 = json.at("at144Dpi");
    Form form{json.at("title"),
              json.at("programName"),
              json.at("client"),
              font.at("family"),
              font.at("points"),
              font.at("pixels"),
              font.at("weight"),
              font.at("windowsCharacterSet"),
              json.at("timerMilliseconds"),
              json.at("windowColour"),
              {},
              at144.at("client"),
              {},
              {},
              row(json.at("cleared")),
              json.at("lessonLineEnd"),
              json.at("lesson")};
    for (const auto &entry : json.at("controls"))
        form.controls.push_back(control(entry));
    for (const auto &[name, rect] : at144.at("rects").items())
        form.rectsAt144Dpi.emplace_back(name, rect.get<Rect>());
    for (const auto &entry : json.at("rows"))
        form.rows.push_back(row(entry));
    return form;
}

} // namespace

const Control &Form::control(std::string_view name) const
{
    for (const Control &control : controls) {
        if (control.name == name)
            return control;
    }
    std::fprintf(stderr, "expected_form.json has no control %.*s\n", int(name.size()), name.data());
    std::abort();
}

std::string Form::lessonText() const
{
    std::string text;
    for (const std::string &line : lesson)
        text += line + lessonLineEnd;
    return text;
}

const Form &form()
{
    static const Form form = read();
    return form;
}

} // namespace expected
