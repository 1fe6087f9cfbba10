#include "page.h"

#include "amino_acid_table.h"
#include "form_strings.h"

#include <string>

namespace page {

namespace {

using amino::AminoAcidTable;
namespace form = amino::form;

std::string str(std::string_view text)
{
    return std::string(text);
}

// The lesson box shows the lesson line by line; HTML ends lines with LF.
std::string lessonLines()
{
    std::string text;
    for (const char c : form::lessonText()) {
        if (c != '\r')
            text += c;
    }
    return text;
}

std::string indicator(std::string_view id, std::string_view type, std::string_view caption)
{
    // The label holds its input, so a click on the caption toggles it as on
    // the desktop, and the caption is the input's accessible name.
    std::string name = type == "radio" ? " name=\"Option1\"" : "";
    return "<label id=\"" + str(id) + "\"><input type=\"" + str(type) + "\"" + name + "><span>" +
           escaped(caption) + "</span></label>\n";
}

// The page's own zoom, for those without a keyboard: a button out, a button
// in, and, only while zoomed, one back to the fitted size that shows the zoom
// (the script writes it; the font must hold its digits). The signs are named
// in words for screen readers; the titles tell the keys.
constexpr std::string_view ZoomGroupName = "Мащаб";
constexpr std::string_view ZoomOutSign = "−";
constexpr std::string_view ZoomInSign = "+";
constexpr std::string_view ZoomShown = "0123456789\u00a0%";

std::string zoomButtons()
{
    return "<div id=\"Zoom\" role=\"group\" aria-label=\"" + str(ZoomGroupName) +
           "\">"
           "<button type=\"button\" id=\"ZoomReset\" title=\"Обратно към размера по екрана "
           "(Ctrl и 0)\" hidden>100\u00a0%</button>"
           "<button type=\"button\" id=\"ZoomOut\" aria-label=\"Намали\" title=\"Намали "
           "(Ctrl и −)\">" +
           str(ZoomOutSign) +
           "</button>"
           "<button type=\"button\" id=\"ZoomIn\" aria-label=\"Увеличи\" title=\"Увеличи "
           "(Ctrl и +)\">" +
           str(ZoomInSign) + "</button></div>\n";
}

} // namespace

std::string markup()
{
    const std::string title = escaped(form::windowTitle());
    // Only the page's own files. WebAssembly is compiled from the script's
    // own bytes, which needs 'wasm-unsafe-eval' but never eval.
    const std::string policy = "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; "
                               "style-src 'self'; font-src 'self'; img-src 'self'; "
                               "manifest-src 'self'; worker-src 'self'; connect-src 'self'; "
                               "base-uri 'none'; form-action 'none'";
    std::string html = "<!DOCTYPE html>\n<html lang=\"bg\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
                       policy +
                       "\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta name=\"color-scheme\" content=\"light\">\n"
                       "<title>" +
                       title + "</title>\n";
    html += "<link rel=\"icon\" href=\"" + str(IconFile192) + "\">\n";
    html += "<link rel=\"stylesheet\" href=\"" + str(StyleFile) + "\">\n";
    html += "<script src=\"" + str(ScriptFile) + "\" defer></script>\n";
    html += "<script src=\"" + str(PlatformScriptFile) + "\" defer></script>\n";
    html += "</head>\n<body>\n<main id=\"MainForm\">\n";

    html += "<h1 id=\"Label1_0\">" + escaped(form::Heading) + "</h1>\n";
    // In the order the keyboard visits them on the desktop: the lesson, the
    // check boxes, the list, the option buttons.
    html += "<textarea id=\"Text1_0\" readonly aria-label=\"" + escaped(form::TextAccessibleName) +
            "\">" + escaped(lessonLines()) + "</textarea>\n";
    for (std::size_t i = 0; i < form::CheckCaptions.size(); ++i) {
        html += indicator("Check1_" + std::to_string(i), "checkbox",
                          form::shownCaption(form::CheckCaptions[i]));
    }

    html += "<div id=\"List1_0\" role=\"listbox\" tabindex=\"0\" aria-label=\"" +
            escaped(form::ListAccessibleName) + "\">\n";
    for (int row = 0; row < AminoAcidTable::rowCount; ++row) {
        html += "<div role=\"option\" id=\"List1_0_" + std::to_string(row) +
                "\" aria-selected=\"false\">" +
                escaped(AminoAcidTable::item(AminoAcidTable::Names, row)) + "</div>\n";
    }
    html += "</div>\n";
    // The code lists hold data for the display procedures only: never shown,
    // never read out.
    for (int list = AminoAcidTable::NutritionCodes; list < AminoAcidTable::listCount; ++list) {
        html += "<ul id=\"List1_" + std::to_string(list) + "\" hidden>";
        for (int row = 0; row < AminoAcidTable::rowCount; ++row)
            html += "<li>" + escaped(AminoAcidTable::item(list, row)) + "</li>";
        html += "</ul>\n";
    }

    for (std::size_t j = 0; j < form::OptionCaptions.size(); ++j)
        html += indicator("Option1_" + std::to_string(j), "radio", form::OptionCaptions[j]);
    html += "</main>\n";
    html += zoomButtons();
    html += "</body>\n</html>\n";
    return html;
}

std::string drawnText()
{
    std::string text = str(form::Heading);
    for (const std::string_view caption : form::CheckCaptions)
        text += caption;
    for (const std::string_view caption : form::OptionCaptions)
        text += caption;
    for (int list = 0; list < AminoAcidTable::listCount; ++list) {
        for (int row = 0; row < AminoAcidTable::rowCount; ++row)
            text += AminoAcidTable::item(list, row);
    }
    return text + form::lessonText() + " " + str(ZoomOutSign) + str(ZoomInSign) + str(ZoomShown);
}

} // namespace page
