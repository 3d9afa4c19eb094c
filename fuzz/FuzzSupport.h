#pragma once
// What every fuzz target shares: a private home and temporary folder for the
// process, files written from the fuzzer's bytes, and the checks' failure.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::fuzz {

// Points HOME, the XDG folders and TMPDIR into a fresh folder of the process
// (removed at exit), so no target reads or writes the real home.
void setUpPrivateHome();
// The process's scratch folder (inside the private home).
const std::string& scratchFolder();
// Writes bytes to scratchFolder()/name and answers the path.
std::string writeScratchFile(const std::string& name, std::string_view bytes);
// Removes a folder and everything below it.
void removeTree(const std::string& path);
// Reports a broken promise and aborts, so libFuzzer keeps the input.
[[noreturn]] void fail(const std::string& what);

// A lone surrogate that is not an escaped stray byte (U+DC80..U+DCFF), or a
// pair cut in half: a text that cannot be written as a file name.
bool hasForeignLoneSurrogate(const std::u16string& text);

} // namespace morvane::fuzz
