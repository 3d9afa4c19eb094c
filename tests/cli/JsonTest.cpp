#include "cli/Json.h"

#include <gtest/gtest.h>

using namespace morvane::cli;

// Names reach JSON as bytes (UTF-8 or not) and as UTF-16 code units (an ASCII
// name takes a shorter way there); both ways must escape the same things.
TEST(Json, StringsAreEscapedTheSameWhateverTheirForm) {
    const struct {
        std::u16string text;
        std::string bytes, json;
    } cases[] = {
        {u"", "", R"("")"},
        {u"plain name.jpg", "plain name.jpg", R"("plain name.jpg")"},
        {u"say \"hi\" \\ now", "say \"hi\" \\ now", R"("say \"hi\" \\ now")"},
        {u"tab\tline\nend", "tab\tline\nend", R"("tab\tline\nend")"},
        {u"\x01\x1f\x7f", "\x01\x1f\x7f", "\"\\u0001\\u001f\x7f\""},
        {u"café ü", "café ü", "\"café ü\""},
        {u"日本 😀\"", "日本 😀\"", "\"日本 😀\\\"\""},
        {u"caf\xDCE9!", "caf\xE9!", R"("caf\udce9!")"},
        {u"\xDCFF\xDC80", "\xFF\x80", R"("\udcff\udc80")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(jsonString(c.text), c.json) << c.json;
        EXPECT_EQ(jsonString(std::string_view(c.bytes)), c.json) << c.json;
    }
    JsonWriter json;
    json.beginObject().member("a\"", std::u16string(u"x\ty")).member("b", std::string("é"));
    EXPECT_EQ(json.endObject().written(), R"({"a\"":"x\ty","b":"é"})");
}
