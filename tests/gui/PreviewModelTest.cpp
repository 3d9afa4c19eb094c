#include "gui/PreviewModel.h"

#include <gtest/gtest.h>

using morvane::gui::PreviewModel;

// A name that is not UTF-8 is held with its stray bytes as lone surrogates;
// the table shows those bytes as \xNN and everything else as it is.
TEST(PreviewModel, NamesThatAreNotUtf8ShowTheirBytes) {
    const std::pair<std::u16string, QString> cases[] = {
        {u"plain.txt", "plain.txt"},
        {u"caf\u00e9 \U0001F600.jpg", QString::fromStdU16String(u"caf\u00e9 \U0001F600.jpg")},
        {u"bad\xDCFF.txt", "bad\\xFF.txt"},
        {u"\xDC80\xDCE9", "\\x80\\xE9"},
        {u"", ""},
    };
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(PreviewModel::readable(name), shown);
}
