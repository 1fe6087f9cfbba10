// The form's one definition in the core, which every face is built from:
// its texts, the lesson, its geometry and colours against the hand-written
// expected form, and the contrast measure the faces choose caption colours by.
#include "expected_form.h"
#include "form_geometry.h"
#include "form_strings.h"
#include "text_contrast.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using amino::form::Colour;
using amino::form::TwipsRect;

expected::Colour channels(const Colour &colour)
{
    return {colour.red, colour.green, colour.blue};
}

Colour colour(const expected::Colour &channels)
{
    return {channels[0], channels[1], channels[2]};
}

std::vector<std::string> lines(const std::string &text, const std::string &end)
{
    std::vector<std::string> found;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
        found.push_back(text.substr(start, at - start));
    if (start < text.size())
        found.push_back(text.substr(start) + " (not ended)");
    return found;
}

// Where the core puts each named control, and its fixed colour if it has one.
struct Definition {
    TwipsRect rect;
    std::optional<Colour> colour;
};

Definition definitionOf(const std::string &name)
{
    using namespace amino::form;
    const auto index = [&name] {
        return std::size_t(name.back() - '0');
    };
    if (name == "Label1_0")
        return {HeadingRect, HeadingColour};
    if (name.starts_with("Check1_"))
        return {CheckRects.at(index()), CheckColour};
    if (name.starts_with("Option1_"))
        return {OptionRects.at(index()), OptionColour};
    if (name.starts_with("List1_"))
        return {ListRects.at(index()), std::nullopt};
    if (name == "Text1_0")
        return {TextRect, std::nullopt};
    ADD_FAILURE() << "no control " << name << " in the core";
    return {};
}

expected::Rect pixelsAt(const TwipsRect &rect, int dpi)
{
    const auto edges = amino::form::pixels(rect, dpi);
    return {edges.left, edges.top, edges.right - edges.left, edges.bottom - edges.top};
}

} // namespace

TEST(ContrastMeasure, KnownPairs)
{
    struct Pair {
        Colour first, second;
        double ratio;
    };
    const Pair pairs[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {0, 0, 0}, 21.0}, // either order
        {{128, 255, 128}, {128, 255, 128}, 1.0},
        // Either side of the mark for normal text.
        {{0x76, 0x76, 0x76}, {255, 255, 255}, 4.54},
        {{0x77, 0x77, 0x77}, {255, 255, 255}, 4.48},
        // Pure green against black: green alone carries most of the light.
        {{0, 255, 0}, {0, 0, 0}, 15.3},
    };
    for (const Pair &pair : pairs) {
        SCOPED_TRACE(::testing::Message() << pair.first.red << "," << pair.first.green << ","
                                          << pair.first.blue << " on " << pair.second.red << ","
                                          << pair.second.green << "," << pair.second.blue);
        EXPECT_NEAR(amino::form::contrastRatio(pair.first, pair.second), pair.ratio, 0.01);
    }
    EXPECT_DOUBLE_EQ(amino::form::relativeLuminance({255, 255, 255}), 1.0);
    EXPECT_DOUBLE_EQ(amino::form::relativeLuminance({0, 0, 0}), 0.0);
    EXPECT_EQ(amino::form::MinimumContrast, 4.5);
}

TEST(ContrastMeasure, CaptionColourOnEachFixedBackground)
{
    const expected::Form &form = expected::form();
    const Colour grey{96, 96, 96}, white{255, 255, 255}, black{0, 0, 0};
    for (const expected::Control &control : form.controls) {
        if (!control.colour)
            continue;
        SCOPED_TRACE(control.name);
        const Colour background = colour(*control.colour);
        // Black reads on every band, so it is what any unreadable choice becomes.
        EXPECT_GE(amino::form::contrastRatio(black, background), 4.5);
        EXPECT_EQ(channels(amino::form::textOn(background, white)), channels(black));
        // A grey desktop text reads on the green bands, not on the orange heading.
        const expected::Colour wanted =
            control.role == "heading" ? channels(black) : channels(grey);
        EXPECT_EQ(channels(amino::form::textOn(background, grey)), wanted);
    }
}

TEST(FormDefinition, LessonText)
{
    const expected::Form &form = expected::form();
    const std::string text = amino::form::lessonText();
    // Line by line first, which says where they part; then the whole, line
    // ends included.
    EXPECT_EQ(lines(text, form.lessonLineEnd), form.lesson);
    EXPECT_EQ(text, form.lessonText());
}

TEST(FormDefinition, Texts)
{
    const expected::Form &form = expected::form();
    using namespace amino::form;
    EXPECT_EQ(windowTitle(), form.title);
    EXPECT_EQ(ProgramName, form.programName);
    EXPECT_EQ(Heading, form.control("Label1_0").text);
    for (std::size_t i = 0; i < CheckCaptions.size(); ++i)
        EXPECT_EQ(shownCaption(CheckCaptions[i]), form.control("Check1_" + std::to_string(i)).text);
    for (std::size_t j = 0; j < OptionCaptions.size(); ++j)
        EXPECT_EQ(OptionCaptions[j], form.control("Option1_" + std::to_string(j)).text);
    EXPECT_EQ(ListAccessibleName, form.control("List1_0").accessibleName);
    EXPECT_EQ(TextAccessibleName, form.control("Text1_0").accessibleName);
}

TEST(FormDefinition, GeometryColoursAndFace)
{
    const expected::Form &form = expected::form();
    using namespace amino::form;
    EXPECT_EQ(pixelsAt({0, 0, ClientWidth, ClientHeight}, 96),
              (expected::Rect{0, 0, form.client[0], form.client[1]}));
    EXPECT_EQ(pixelsAt({0, 0, ClientWidth, ClientHeight}, 144),
              (expected::Rect{0, 0, form.clientAt144Dpi[0], form.clientAt144Dpi[1]}));
    for (const expected::Control &control : form.controls) {
        SCOPED_TRACE(control.name);
        const Definition definition = definitionOf(control.name);
        EXPECT_EQ(pixelsAt(definition.rect, 96), control.rect);
        EXPECT_EQ(definition.colour.has_value(), control.colour.has_value());
        if (definition.colour && control.colour) {
            EXPECT_EQ(channels(*definition.colour), *control.colour);
        }
    }
    for (const auto &[name, rect] : form.rectsAt144Dpi) {
        SCOPED_TRACE(name + " at 144 dpi");
        EXPECT_EQ(pixelsAt(definitionOf(name).rect, 144), rect);
    }
    EXPECT_EQ(channels(WindowColour), form.windowColour);
    EXPECT_EQ(FontFamily, form.fontFamily);
    EXPECT_EQ(FontPoints, form.fontPoints);
    EXPECT_EQ(FontWeight, form.fontWeight);
    EXPECT_EQ(FontCharacterSet, form.windowsCharacterSet);
    EXPECT_EQ(TimerInterval, form.timerMilliseconds);
}
