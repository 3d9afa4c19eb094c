#include "tests/metadata/MetadataTestSupport.h"

#include "tests/support/TempDir.h"

#include <cstdio>
#include <sstream>

namespace morvane::test {

std::vector<std::string> splitOn(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos;
         start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<ManifestRow> readManifest() {
    std::istringstream lines(readFile(testDataPath("MANIFEST.tsv")));
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> columns = splitOn(line, "\t");
    std::vector<ManifestRow> rows;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        const std::vector<std::string> cells = splitOn(line, "\t");
        ManifestRow row;
        for (size_t i = 0; i < columns.size(); ++i)
            row[columns[i]] = i < cells.size() ? cells[i] : "";
        rows.push_back(row);
    }
    return rows;
}

std::optional<double> utcSecondsOf(const std::string& text) {
    std::tm fields{};
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d:%2d:%2d %2d:%2d:%2d%n", &fields.tm_year, &fields.tm_mon,
                    &fields.tm_mday, &fields.tm_hour, &fields.tm_min, &fields.tm_sec,
                    &consumed) != 6 ||
        consumed != 19 || fields.tm_mon < 1 || fields.tm_mday < 1)
        return std::nullopt;
    fields.tm_year -= 1900;
    fields.tm_mon -= 1;
    return static_cast<double>(timegm(&fields)) - 978307200.0;
}

} // namespace morvane::test
