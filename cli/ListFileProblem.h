#pragma once
// Why one line of a rename list file could not be loaded, in a few words a
// user can act on: the loaders only say which line stopped them.
#include <string>

namespace morvane::cli {

// The reason for record number line (counting lines with text, from 1) of the
// list at path; empty when that line cannot be found again.
std::string listLineProblem(const std::string& path, int line);

} // namespace morvane::cli
