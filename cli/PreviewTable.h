#pragma once
// The preview for people (an aligned table with a mark per row and a legend
// of the marks shown) and for programs (one JSON object per row), with the
// rows whose new name is already taken on disk.
#include "MRVN7x/actions/PreviewRows.h"
#include "cli/Json.h"

#include <cstdio>
#include <string>
#include <vector>

namespace morvane::cli {

// Per row: its new name exists on disk and is not the current name of a row
// (which would move away first), so the run will skip it.
std::vector<bool> takenNewNames(const PreviewRows& rows);

// The JSON object of a row, "exists" among its members.
void writePreviewRow(JsonWriter& json, const PreviewRows& rows, size_t row, bool exists);

// A name or path as the terminal shows it: on one line and harmless. Control
// characters and bytes that are not UTF-8 show as \xNN (C1 controls as
// \uNNNN), so a name can neither add a line nor send escape sequences.
std::string shownText(const std::string& bytes);

// "*" a new name, "!" a new name shared with another row, "x" a taken one.
void printPreviewTable(const PreviewRows& entries, const std::vector<bool>& taken, std::FILE* out);

} // namespace morvane::cli
