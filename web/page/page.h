#pragma once

#include <string>
#include <string_view>

// The web page of the form, written out at build time from the form's one
// definition: the markup, its style sheet and the web-app manifest.
namespace page {

// The files of the page, relative to its folder.
inline constexpr std::string_view ScriptFile = "aminokiselini.js";
// What the page reports to a learning platform that launches it.
inline constexpr std::string_view PlatformScriptFile = "scorm.js";
inline constexpr std::string_view StyleFile = "style.css";
inline constexpr std::string_view ManifestFile = "manifest.webmanifest";
inline constexpr std::string_view WorkerFile = "sw.js";
inline constexpr std::string_view FontFile = "fonts/LiberationSerif-Regular.woff2";
inline constexpr std::string_view IconFile192 = "icons/aminokiselini-192.png";
inline constexpr std::string_view IconFile512 = "icons/aminokiselini-512.png";

// Text made safe for HTML element content and attribute values.
std::string escaped(std::string_view text);

std::string markup();
std::string style();
std::string manifest();
// Every character the page draws in its own font, for cutting the font down.
std::string drawnText();

} // namespace page
