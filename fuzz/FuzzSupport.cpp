#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace morvane::fuzz {

namespace {
std::string& home() {
    static std::string path;
    return path;
}

void removeHome() {
    if (!home().empty())
        removeTree(home());
}
} // namespace

void setUpPrivateHome() {
    if (!home().empty())
        return;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/morvane-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()))
        fail("cannot make a private home");
    home() = pattern;
    std::atexit(removeHome);
    const std::pair<const char*, const char*> folders[] = {{"HOME", ""},
                                                           {"XDG_CONFIG_HOME", "/.config"},
                                                           {"XDG_DATA_HOME", "/.local/share"},
                                                           {"XDG_STATE_HOME", "/.local/state"},
                                                           {"TMPDIR", "/tmp"}};
    for (const auto& [variable, below] : folders) {
        const std::string path = home() + below;
        std::filesystem::create_directories(path);
        setenv(variable, path.c_str(), 1);
    }
    std::filesystem::create_directories(scratchFolder());
}

const std::string& scratchFolder() {
    static const std::string folder = home() + "/scratch";
    return folder;
}

std::string writeScratchFile(const std::string& name, std::string_view bytes) {
    const std::string path = scratchFolder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        fail("cannot write " + path);
    return path;
}

void removeTree(const std::string& path) {
    std::error_code error;
    // Folders made read-only by an input get their permissions back first.
    for (auto it = std::filesystem::recursive_directory_iterator(path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        if (it->is_directory(error))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path, error);
}

void fail(const std::string& what) {
    std::fprintf(stderr, "broken promise: %s\n", what.c_str());
    std::abort();
}

bool hasForeignLoneSurrogate(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i; // a pair
            continue;
        }
        if (high || (low && !(unit >= 0xDC80 && unit <= 0xDCFF)))
            return true;
    }
    return false;
}

} // namespace morvane::fuzz
