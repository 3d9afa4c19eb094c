#include "tests/support/TempDir.h"

#include "tests/support/SamplePhotos.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace morvane::test {

TempDir::TempDir(const std::string& label) {
    std::string pattern = (fs::temp_directory_path() / ("morvane-" + label + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable to remove them.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& relative, const std::string& content) const {
    const fs::path target = fs::path(path_) / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << content;
    return target.string();
}

std::string TempDir::makeFolder(const std::string& relative) const {
    const fs::path target = fs::path(path_) / relative;
    fs::create_directories(target);
    return target.string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string testDataPath(const std::string& relative) {
    return std::string(MORVANE_TESTDATA_DIR) + "/" + relative;
}

std::string sampleBytes(const std::string& sample) {
    return sampleBytes(std::string(MORVANE_TESTDATA_DIR), sample);
}

} // namespace morvane::test
