#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"

#include <gtest/gtest.h>

using namespace morvane;

namespace {
struct CountingObserver : KeyValueObserver {
    int calls = 0;
    void observeValueForKey(const std::string&, BaseAction&, const std::optional<plist::Value>&,
                            const std::optional<plist::Value>&) override {
        ++calls;
    }
};

// Gives the tests a way to remove a key, as an old saved list would lack it.
struct Settings : MRVNGlobalPreferencesPseudoAction {
    void removeKey(const std::string& key) { dictionary().erase(key); }
};
} // namespace

TEST(GlobalSettings, Defaults) {
    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    EXPECT_EQ(settings->actionName(), "MRVN global settings");
    EXPECT_EQ(settings->getRenameMode(), 3);
    EXPECT_EQ(settings->lastAddDirectory(), std::string(getenv("HOME")));
    EXPECT_TRUE(settings->shouldUseFadeOutEffect());
    EXPECT_FALSE(settings->shouldQuitAfterRename());
    EXPECT_TRUE(settings->shouldProcessFiles());
    EXPECT_TRUE(settings->shouldProcessFolders());
    EXPECT_FALSE(settings->shouldProcessSubfolders());
    EXPECT_EQ(settings->getPreviewPaneWidthAsInt(), 450);
    EXPECT_EQ(settings->getPreviewModeAsInt(), 0);
    EXPECT_TRUE(settings->shouldShowCurrentName());
    EXPECT_FALSE(settings->shouldShowPath());
    EXPECT_EQ(settings->getInteractionMode(), 1);
    EXPECT_TRUE(settings->getShowSummary());
    EXPECT_FALSE(settings->shouldShowMultistepDrawer());
    EXPECT_FALSE(settings->shouldCreateSilentDroplets());
    EXPECT_EQ(settings->getParamInt("discloseAdvancedOptions", 9), 0);
    EXPECT_EQ(settings->parameterList().size(), 17u); // "active" and the sixteen settings
}

TEST(GlobalSettings, QuietSettersDoNotNotify) {
    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    CountingObserver observer;
    settings->registerObserverForAllValues(&observer);
    settings->setLastAddDirectory("/srv/photos");
    settings->setUseFadeOutEffect(false);
    EXPECT_EQ(observer.calls, 0);
    EXPECT_EQ(settings->lastAddDirectory(), "/srv/photos");
    EXPECT_FALSE(settings->shouldUseFadeOutEffect());

    settings->setShouldProcessSubfolders(true);
    settings->setShouldProcessFiles(false);
    settings->setShouldProcessFolders(false);
    settings->setPreviewModeAsInt(1);
    settings->setPreviewPaneWidthAsInt(600);
    settings->setShowMultistepDrawer(true);
    EXPECT_EQ(observer.calls, 6);
    EXPECT_TRUE(settings->shouldProcessSubfolders());
    EXPECT_FALSE(settings->shouldProcessFiles());
    EXPECT_EQ(settings->getPreviewPaneWidthAsInt(), 600);
}

TEST(GlobalSettings, FallbacksApplyOnlyToAbsentKeys) {
    struct Case {
        std::string key;
        bool (MRVNGlobalPreferencesPseudoAction::*getter)() const;
        bool whenZero, whenAbsent;
    };
    const std::vector<Case> cases = {
        {"showCurrentName", &MRVNGlobalPreferencesPseudoAction::shouldShowCurrentName, false, true},
        {"processFiles", &MRVNGlobalPreferencesPseudoAction::shouldProcessFiles, false, true},
        {"processFolders", &MRVNGlobalPreferencesPseudoAction::shouldProcessFolders, false, true},
        {"useFadeOutEffect", &MRVNGlobalPreferencesPseudoAction::shouldUseFadeOutEffect, false,
         false},
        {"showSummary", &MRVNGlobalPreferencesPseudoAction::getShowSummary, false, false},
    };
    for (const auto& c : cases) {
        auto settings = makeAction<Settings>();
        settings->setValueForKey(c.key, plist::Value(0));
        EXPECT_EQ((settings.get()->*c.getter)(), c.whenZero) << c.key;
        settings->removeKey(c.key);
        EXPECT_EQ((settings.get()->*c.getter)(), c.whenAbsent) << c.key;
    }
    auto settings = makeAction<Settings>();
    settings->removeKey("interactiveMode");
    settings->removeKey("renameMode");
    EXPECT_EQ(settings->getInteractionMode(), 0);
    EXPECT_EQ(settings->getRenameMode(), 0);
}
