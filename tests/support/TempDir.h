#pragma once
// A temporary folder for one test, removed with everything in it afterwards.
#include <string>

namespace morvane::test {

class TempDir {
public:
    explicit TempDir(const std::string& label = "test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Creates a file (and its folders) with the given content; returns its path.
    std::string write(const std::string& relative, const std::string& content = "") const;
    std::string makeFolder(const std::string& relative) const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);
bool pathExists(const std::string& path);
// A real sample file of tests/data/real ("images/image.jpg").
std::string testDataPath(const std::string& relative);
// The bytes of a sample: a photo made on the spot for a "made/..." name (see
// SamplePhotos.h), else the real sample file of that path.
std::string sampleBytes(const std::string& sample);

} // namespace morvane::test
