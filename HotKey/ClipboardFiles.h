#pragma once
// The file paths a file manager puts on the clipboard when files are copied:
// "x-special/gnome-copied-files" (GNOME Files, Nemo, Caja, Thunar: "copy" or
// "cut", then one URI a line) or "text/uri-list" (Dolphin and most others).
#include <string>
#include <vector>

namespace tsyhotkey::ClipboardFiles {

// The local paths of the file URIs in the text, in order; other URIs, comment
// lines and URIs that do not decode are passed over.
std::vector<std::string> pathsFromUriList(const std::string& text);

} // namespace tsyhotkey::ClipboardFiles
