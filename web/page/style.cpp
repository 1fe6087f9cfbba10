#include "page.h"

#include "form_geometry.h"

#include <string>

namespace page {

namespace {

namespace form = amino::form;

// Every length is a share of --w, the form's width at the largest scale at
// which the whole form fits the viewport (times the page's own zoom): a
// whiteboard gets a large form, a phone upright fits its width, a phone
// sideways its height. (A share of the width rather than a multiple of one
// scaled pixel: Firefox rounds a length to 1/60 px, which a multiple would
// carry into every control.)
std::string length(int pixels)
{
    return "calc(var(--w) * " + std::to_string(pixels) + " / " +
           std::to_string(form::pixels(form::ClientWidth)) + ")";
}

// The desktop draws the list's selection in the system's colours, but
// browsers' own Highlight and HighlightText read below 4.5:1 in some engines
// (white on #3484e4 in WebKit): this blue reads at 5.6:1 under white.
constexpr form::Colour SelectionColour{0, 102, 204};

std::string colour(const form::Colour &c)
{
    return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
           std::to_string(c.blue) + ")";
}

std::string placed(std::string_view id, const form::TwipsRect &rect)
{
    return "#" + std::string(id) + " { left: " + length(form::pixels(rect.left)) +
           "; top: " + length(form::pixels(rect.top)) +
           "; width: " + length(form::pixels(rect.width)) +
           "; height: " + length(form::pixels(rect.height)) + "; }\n";
}

template <std::size_t Count>
std::string placedAll(std::string_view prefix, const std::array<form::TwipsRect, Count> &rects)
{
    std::string css;
    for (std::size_t i = 0; i < Count; ++i)
        css += placed(std::string(prefix) + std::to_string(i), rects[i]);
    return css;
}

} // namespace

std::string style()
{
    const int width = form::pixels(form::ClientWidth);
    const int height = form::pixels(form::ClientHeight);
    // Points at 96 dots per inch.
    const int fontPixels = form::FontPoints * 96 / 72;

    std::string css;
    // Liberation Serif has Times New Roman's metrics and ships with the page,
    // so every device lays the captions out alike.
    css += "@font-face { font-family: \"Form Serif\"; src: url(\"" + std::string(FontFile) +
           "\") format(\"woff2\"); font-display: block; }\n";
    // The small viewport units leave room for a phone's browser bars when
    // shown; a browser without them takes the plain ones.
    const auto fit = [&](std::string_view unit) {
        return ":root { --fit: min(100" + std::string(unit) + "w, calc(100" + std::string(unit) +
               "h * " + std::to_string(width) + " / " + std::to_string(height) + ")); }";
    };
    css += fit("v") + "\n@supports (width: 1svw) { " + fit("sv") + " }\n";
    // The page's own zoom multiplies the fitted size (the script sets
    // --zoom), so that the text grows on the screen, which the browser's zoom
    // cannot do for a form sized in viewport units.
    css += ":root { --w: calc(var(--fit) * var(--zoom, 1)); }\n";
    // The body scrolls a zoomed form, not the document: a phone's browser
    // would widen the layout viewport to the form and take the zoom's
    // buttons with it. Centred by auto margins, which give way when the form
    // is larger than the viewport, so that every part of it can be scrolled
    // to. Focus scrolled into view keeps clear of the buttons.
    css += "html { height: 100%; overflow: hidden; }\n";
    css += "body { margin: 0; height: 100vh; height: 100svh; overflow: auto; display: flex; "
           "scroll-padding-top: 28px; }\n";
    css += "#MainForm { flex: none; margin: auto; position: relative; overflow: hidden; width: " +
           length(width) + "; height: " + length(height) +
           "; background: " + colour(form::WindowColour) +
           "; color: #000; font: " + length(fontPixels) + "/normal \"Form Serif\", \"" +
           std::string(form::FontFamily) + "\", serif; }\n";
    css += "#MainForm > * { position: absolute; box-sizing: border-box; margin: 0; "
           "font: inherit; }\n";
    css += "#MainForm > [hidden] { display: none; }\n";

    css += "#Label1_0 { display: flex; align-items: center; justify-content: center; "
           "background: " +
           colour(form::HeadingColour) + "; }\n";
    css += "label { display: flex; align-items: center; white-space: nowrap; overflow: hidden; "
           "padding-left: " +
           length(1) + "; }\n";
    css += "label input { flex: none; margin: 0 " + length(4) + " 0 0; width: " + length(13) +
           "; height: " + length(13) + "; }\n";
    css += "label[id^=\"Check1_\"] { background: " + colour(form::CheckColour) + "; }\n";
    css += "label[id^=\"Option1_\"] { background: " + colour(form::OptionColour) + "; }\n";

    // The list and the lesson keep the browser's own colours, as the window's
    // keep the desktop's.
    const std::string field =
        "background: Canvas; color: CanvasText; border: " + length(1) + " solid #828790; ";
    css += "#List1_0 { " + field +
           "overflow-x: hidden; overflow-y: auto; cursor: default; user-select: none; "
           "-webkit-user-select: none; }\n";
    css += "#List1_0 > div { padding: 0 " + length(2) + "; white-space: nowrap; }\n";
    const std::string selected = "#List1_0 > [aria-selected=\"true\"]";
    const std::string focused = "#List1_0:focus > [aria-selected=\"true\"]";
    css += selected + " { background: " + colour(SelectionColour) + "; color: #fff; }\n";
    css += focused + " { outline: " + length(1) + " dotted #fff; outline-offset: " + length(-1) +
           "; }\n";
    // Under forced colours (a high-contrast theme) the system's own selection
    // colours, which the theme makes readable; left alone, the row's
    // background would be forced to the list's and the selection lost.
    css += "@media (forced-colors: active) { " + selected +
           " { forced-color-adjust: none; background: Highlight; color: HighlightText; } " +
           focused + " { outline-color: HighlightText; } }\n";
    css += "#Text1_0 { " + field + "padding: " + length(2) +
           "; resize: none; overflow-x: hidden; overflow-y: scroll; }\n";

    // The zoom's buttons, small and in the viewport's top left corner, clear
    // of the scroll bars: at the fitted size that is beside the form or over
    // its empty corner left of the heading.
    css += "#Zoom { position: fixed; top: 0; left: 0; display: flex; gap: 2px; padding: 1px; }\n";
    css += "#Zoom button { min-width: 24px; min-height: 24px; margin: 0; padding: 0 4px; "
           "font: 18px/1 \"Form Serif\", serif; }\n";

    css += placed("Label1_0", form::HeadingRect);
    css += placedAll("Check1_", form::CheckRects);
    css += placedAll("Option1_", form::OptionRects);
    css += placed("List1_0", form::ListRects[0]);
    css += placed("Text1_0", form::TextRect);
    return css;
}

} // namespace page
