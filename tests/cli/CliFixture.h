#pragma once
// Shared pieces of the morvane-cli tests: a home with a folder of files, and
// property lists written out as text, the way other programs write them.
#include "tests/cli/CliProcess.h"
#include "tests/cli/JsonReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace morvane::test {

class CliTest : public ::testing::Test {
protected:
    // Creates empty files (and their folders) under the work folder; returns their paths.
    std::vector<std::string> files(const std::vector<std::string>& names) const {
        std::vector<std::string> paths;
        for (const auto& name : names)
            paths.push_back(write(name, ""));
        return paths;
    }
    // Writes a file under the work folder (or at an absolute path); returns its path.
    std::string write(const std::string& relative, const std::string& content) const {
        const std::string path = relative[0] == '/' ? relative : home / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    // args followed by paths.
    static std::vector<std::string> with(std::vector<std::string> args,
                                         const std::vector<std::string>& paths) {
        args.insert(args.end(), paths.begin(), paths.end());
        return args;
    }
    // The JSON on standard output; a failed expectation when it is not JSON.
    static Json json(const CliResult& result) {
        auto parsed = parseJson(result.out);
        EXPECT_TRUE(parsed) << "not JSON: " << result.out;
        return parsed.value_or(Json());
    }

    CliHome home;
};

// A property list document around body (XML, as the application writes it).
inline std::string plistDocument(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "</plist>\n";
}

// A saved chain in its flat form: steps as (action name, parameters as XML keys and values).
inline std::string flatChain(int currentIndex,
                             const std::vector<std::pair<std::string, std::string>>& steps) {
    std::string body = "<dict>\n<key>currentActionIndex</key><integer>" +
                       std::to_string(currentIndex) +
                       "</integer>\n<key>composite actions array</key>\n<array>\n";
    for (const auto& [name, parameters] : steps)
        body += "<dict><key>action name</key><string>" + name +
                "</string><key>action parameter list</key><dict>" + parameters + "</dict></dict>\n";
    return body + "</array>\n</dict>\n";
}

} // namespace morvane::test
