#include "MRVN7x/app/GenericDontShowAgainDialogController.h"
#include "tests/support/FakePort.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace morvane;

TEST(DontShowAgain, ShowsUntilTheBoxIsTickedThenAnswersTheFixedResult) {
    const std::vector<DontShowAgainNotice> notices = {
        Notices::previewCutoff,      Notices::conflicts,
        Notices::noFilesSelected,    Notices::inconsistentSettings,
        Notices::dropletInformation, Notices::dropletEditInformation};
    for (const auto& notice : notices) {
        SCOPED_TRACE(notice.windowResource);
        test::TempDir dir;
        UserDefaults defaults("net.halvard.mrvn7", dir.path());
        test::FakePort port;
        GenericDontShowAgainDialogController dialog(port, defaults);
        port.dontShowAgainAnswers = {{2, false}, {5, true}};
        EXPECT_EQ(dialog.run(notice), DialogChoice::Cancel);
        EXPECT_FALSE(dialog.isSilenced(notice));
        EXPECT_EQ(dialog.run(notice), DialogChoice::Fifth);
        EXPECT_TRUE(dialog.isSilenced(notice));
        EXPECT_EQ(dialog.run(notice), notice.resultWhenSilenced);
        EXPECT_EQ(port.dontShowAgainDialogs.size(), 2u);
        // The silence is stored, so it holds in the next run of the program.
        UserDefaults reread("net.halvard.mrvn7", dir.path());
        EXPECT_EQ(*reread.objectForKey(notice.defaultsKey), plist::Value(true));
    }
}

TEST(DontShowAgain, AnyStoredValueSilences) {
    test::TempDir dir;
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    defaults.setObject(Notices::conflicts.defaultsKey, plist::Value(false));
    test::FakePort port;
    GenericDontShowAgainDialogController dialog(port, defaults);
    EXPECT_EQ(dialog.run(Notices::conflicts), DialogChoice::Ok);
    EXPECT_TRUE(port.dontShowAgainDialogs.empty());
}
