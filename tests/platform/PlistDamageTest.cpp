// Property lists with a NUL byte inside a text or a key, which another program
// or a damaged disk could leave (libplist aborted the process on them): each is
// read as damaged, never a crash, and a preferences domain holding one is set
// aside and starts empty. Found by fuzz/droplet_settings_fuzzer.
#include "platform/PlistValue.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>

using namespace morvane;

namespace {
std::string xmlDocument(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
           "</plist>\n";
}

struct DamagedList {
    const char* label;
    std::string bytes;
};

const DamagedList kDamaged[] = {
    {"text with a NUL byte",
     xmlDocument(std::string("<dict><key>a</key><string>Replac1 t\0xt</string></dict>\n", 55))},
    {"nested text with a NUL byte",
     xmlDocument(std::string("<dict><key>b</key><array><string>\0</string></array></dict>\n", 59))},
    // Binary: { "a\0" (UTF-16): "x" }, its offset table and trailer.
    {"binary key with a NUL unit",
     std::string("bplist00\xd1\x01\x02\x62\x00\x61\x00\x00\x51\x78\x08\x0b\x10"
                 "\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x12",
                 53)},
};

class PlistDamage : public ::testing::TestWithParam<DamagedList> {};
} // namespace

TEST_P(PlistDamage, IsReadAsDamagedAndItsDomainIsSetAside) {
    EXPECT_FALSE(plist::fromBytes(GetParam().bytes)) << GetParam().label;

    test::TempDir dir;
    const std::string path = dir.path() + "/net.example.damage.plist";
    std::ofstream(path, std::ios::binary) << GetParam().bytes;
    SystemLog::setSink([](SystemLog::Level, const std::string&) {});
    {
        UserDefaults defaults("net.example.damage", dir.path());
        EXPECT_TRUE(defaults.storedValues().empty());
        defaults.setObject("after", plist::Value(1));
        EXPECT_TRUE(defaults.synchronize());
    }
    SystemLog::setSink({});
    EXPECT_EQ(test::readFile(path + ".damaged"), GetParam().bytes);
    UserDefaults reread("net.example.damage", dir.path());
    EXPECT_EQ(reread.storedValues(), (plist::Dictionary{{"after", plist::Value(1)}}));
}

TEST(PlistDamage, TheSameListWithoutTheNulByteIsRead) {
    auto xml = plist::fromBytes(xmlDocument("<dict><key>a</key><string>x y</string></dict>\n"));
    ASSERT_TRUE(xml);
    EXPECT_EQ(*xml, plist::Value(plist::Dictionary{{"a", plist::Value("x y")}}));
}

INSTANTIATE_TEST_SUITE_P(Lists, PlistDamage, ::testing::ValuesIn(kDamaged), [](const auto& info) {
    std::string label = info.param.label;
    for (char& c : label)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return label;
});
