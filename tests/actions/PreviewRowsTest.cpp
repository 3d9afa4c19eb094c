#include "MRVN7x/actions/PreviewRows.h"
#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane {
namespace {

// Names come back exactly as added, whether kept one byte a character or as
// code units: Latin-1, wider characters, a character outside the basic
// plane, a lone half (an escaped byte of a name that is not UTF-8), the zero
// character and empty names, each as old and as new name, with rows of
// several folders in between; and the paths they make are those of the names.
TEST(PreviewRows, NamesAndFoldersComeBackAsAdded) {
    const std::u16string names[] = {u"",
                                    u"plain.jpg",
                                    u"Ärger ÿ.JPG",
                                    u"日本.png",
                                    u"emoji 😀.txt",
                                    u"half \xDC80",
                                    std::u16string(3, u'\0'),
                                    u"a/b:c",
                                    u"/é/x//"};
    std::vector<PreviewEntry> added;
    for (const auto& oldName : names)
        for (const auto& newName : names) {
            PreviewEntry row;
            row.oldName = oldName;
            row.newName = newName;
            row.path = added.size() % 3 ? "/photos" : "/photos/ä";
            row.root = added.size() % 2;
            row.diff = oldName != newName;
            row.warning = added.size() % 5 == 0;
            if (added.size() % 7 == 6)
                row.regex = std::make_shared<const std::array<std::u16string, 6>>();
            added.push_back(row);
        }
    // The second half is made apart and appended, as a second thread's rows are.
    PreviewRows rows, secondHalf;
    for (size_t i = 0; i < added.size(); ++i)
        (i < added.size() / 2 ? rows : secondHalf).push_back(added[i]);
    rows.append(secondHalf);
    ASSERT_EQ(rows.size(), added.size());
    for (size_t i = 0; i < added.size(); ++i) {
        const PreviewEntry row = rows[i];
        EXPECT_EQ(row.oldName, added[i].oldName) << i;
        EXPECT_EQ(row.newName, added[i].newName) << i;
        EXPECT_EQ(row.path, added[i].path) << i;
        EXPECT_EQ(row.root, added[i].root) << i;
        EXPECT_EQ(row.diff, added[i].diff) << i;
        EXPECT_EQ(row.warning, added[i].warning) << i;
        EXPECT_EQ(row.regex, added[i].regex) << i;
        EXPECT_EQ(rows.oldPath(i), PathText::pathOfDisplayName(row.path, row.oldName)) << i;
        EXPECT_EQ(rows.newPath(i), PathText::pathOfDisplayName(row.path, row.newName)) << i;
    }
    EXPECT_EQ(rows.newPath(7 * 9 + 2), "/photos/Ärger ÿ.JPG");
    EXPECT_EQ(rows.oldPath(7 * 9 + 2), "/photos/a:b:c");
    EXPECT_EQ(rows.newPath(1 * 9 + 8), "/photos/:é:x::");
}

} // namespace
} // namespace morvane
