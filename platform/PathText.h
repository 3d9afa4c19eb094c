#pragma once
// Names as actions see them (UTF-16 display names) and as Linux stores them (bytes).
//
// A path component that is not valid UTF-8 survives the round trip: each stray
// byte B becomes the lone surrogate U+DC00+B (B >= 0x80) and turns back into
// the same byte. Other lone surrogates cannot be written to disk; a name that
// holds one is not encodable.
#include <optional>
#include <string>
#include <string_view>

namespace morvane::PathText {

std::u16string fromUtf8(std::string_view bytes); // lossless, with surrogate escapes
void appendFromUtf8(std::string_view bytes, std::u16string& out);
// Nothing when the text holds a lone surrogate that is not an escaped byte.
std::optional<std::string> toUtf8(std::u16string_view text);
bool isEncodable(std::u16string_view text);

// Whether a name is plain: ASCII without ":", so that its display name and
// its name on disk are the same characters.
bool isPlainName(std::string_view name);
bool isPlainName(std::u16string_view name);

// The display name of a path: its last component with every ":" shown as "/".
std::u16string displayNameOfPath(std::string_view path);
// The same into name, whose storage is reused (a run makes one for every item).
void displayNameOfPath(std::string_view path, std::u16string& name);
// The on-disk form of a display name: every "/" stored as ":".
std::optional<std::string> fileNameFromDisplayName(std::u16string_view displayName);
// The path on disk of the item called displayName in folder, its "/" stored as
// ":". A name that cannot be written (isEncodable() is false) still gets a
// path to show and compare, with U+FFFD for each half character; the renamer
// refuses such a name before it touches the disk.
std::string pathOfDisplayName(std::string_view folder, std::u16string_view displayName);
// The last component of that path: the name as stored on disk.
std::string storedNameOfDisplayName(std::u16string_view displayName);

// Path helpers on byte strings. The view forms point into path (no copy).
std::string lastComponent(const std::string& path);
std::string folderOf(const std::string& path); // "/" for items in the root folder
std::string_view lastComponentView(std::string_view path);
std::string_view folderView(std::string_view path);
// Where the last "/" of text is (npos for none), found by the C library's
// search: a run asks it of every path.
size_t lastSlash(std::string_view text);
std::string join(std::string_view folder, std::string_view name);
void join(std::string_view folder, std::string_view name, std::string& path); // into path

} // namespace morvane::PathText

namespace morvane {
// Plain conversions for parameter texts (invalid input becomes U+FFFD).
std::u16string toU16(const std::string& utf8);
std::string toU8(std::u16string_view utf16);
} // namespace morvane
