#include "MRVN7x/app/UserInterfacePort.h"

#include <gtest/gtest.h>

using namespace morvane;

TEST(Preselection, FirstMatchUnderTheMaskElseTheWholeName) {
    struct Case {
        std::u16string name, selection;
        unsigned mask;
        NameSelection expected;
    };
    const Case cases[] = {
        {u"Holiday 001.jpg", u"", 1, {0, 15}},        // nothing to find: all of it
        {u"Holiday 001.jpg", u"001", 0, {8, 3}},      // exact
        {u"Holiday 001.jpg", u"holiday", 0, {0, 15}}, // exact misses the capital
        {u"Holiday 001.jpg", u"HOLIDAY", 1, {0, 7}},  // without regard to case
        {u"a.jpg a.jpg", u"a.jpg", 0, {0, 5}},        // the first of two
        {u"Straße.txt", u"STRASSE", 1, {0, 6}},       // a match of another length
        {u"", u"x", 1, {0, 0}},
    };
    for (const Case& c : cases) {
        RenameDialogRequest request;
        request.context.newName = c.name;
        request.selectionString = c.selection;
        request.selectionMask = c.mask;
        EXPECT_EQ(preselection(request), c.expected);
    }
}
