#include "tests/chain/ChainTestSupport.h"

#include "MRVN7x/app/ApplicationDefaults.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {

plist::Dictionary addToEnd(const std::string& text, int selection = 0, int active = 1) {
    return {{"string", plist::Value(text)},
            {"fragmentSelection", plist::Value(selection)},
            {"active", plist::Value(active)}};
}

// A step that records whether "preview" was set each time it ran.
class PreviewProbeAction : public BaseRenameAction {
public:
    std::string actionName() const override { return "Add to end"; }
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string&,
                               InputContext& input) override {
        seen.push_back(input.preview);
        return fragment;
    }
    std::vector<bool> seen;
};

} // namespace

TEST(Chain, StepsFeedEachOtherInOrder) {
    ChainFixture f;
    // The second step splits the first step's result by its own fragment selection.
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("_a")}, {"Add to end", addToEnd("_b", 1)}}, 0)));
    EXPECT_EQ(runChain(*f.chain, "/photos/photo.jpg"), u"photo_b.jpg_a");

    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd(".x")}, {"Add to end", addToEnd("2", 2)}}, 1)));
    EXPECT_EQ(runChain(*f.chain, "/photos/notes"), u"notes.x2");
}

TEST(Chain, InputContextCarriesEachStepsResult) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("1")}, {"Add to end", addToEnd("2")}}, 0)));
    InputContext input{"/f/a", u"a"};
    OutputContext output;
    f.chain->executeWithInputContext(input, output);
    EXPECT_EQ(output.newName, u"a12");
    EXPECT_EQ(input.currentName, u"a12");
    EXPECT_FALSE(input.preview);
}

TEST(Chain, InactiveStepIsSkippedButSavedUnchanged) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("_a")},
                                                          {"Add to end", addToEnd("_skip", 1, 0)},
                                                          {"Add to end", addToEnd("_c")}},
                                                         0)));
    EXPECT_EQ(runChain(*f.chain, "/f/x.txt"), u"x.txt_a_c");

    const auto saved = f.chain->getFlatParameterList();
    const auto& steps = *saved.at("composite actions array").asArray();
    ASSERT_EQ(steps.size(), 3u);
    const auto& skipped = *steps[1].asDictionary()->at("action parameter list").asDictionary();
    EXPECT_EQ(skipped.at("active"), plist::Value(0));
    EXPECT_EQ(skipped.at("string"), plist::Value("_skip"));
    EXPECT_EQ(skipped.at("fragmentSelection"), plist::Value(1));
}

TEST(Chain, NoActiveStepLeavesTheNameUnchanged) {
    ChainFixture f;
    for (const plist::Value& inactive : {plist::Value(0), plist::Value(2), plist::Value("no")}) {
        auto params = addToEnd("_a");
        params["active"] = inactive;
        ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", params}}, 0)));
        EXPECT_EQ(runChain(*f.chain, "/f/keep.me"), u"keep.me") << inactive.describe();
    }
}

TEST(Chain, OnlyTheCurrentStepSeesPreview) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("_a")}, {"Add to end", addToEnd("_b")}}, 0)));
    auto* first = new PreviewProbeAction;
    auto* second = new PreviewProbeAction;
    auto* inactive = new PreviewProbeAction;
    for (auto* probe : {first, second, inactive})
        probe->init();
    inactive->setValueForKey("active", plist::Value(0));
    f.chain->insertStep(std::unique_ptr<BaseRenameAction>(first), 0);
    f.chain->insertStep(std::unique_ptr<BaseRenameAction>(second), 2);
    f.chain->insertStep(std::unique_ptr<BaseRenameAction>(inactive), 4);
    ASSERT_EQ(f.chain->count(), 5);

    // The preview path and the plain computation of a rename run behave alike.
    f.chain->setCurrentActionIndex(2);
    PreviewEntry row;
    InputContext input{"/f/x", u"x"};
    f.chain->addPreviewDataFor("/f/x", row, input);
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x_a_b");
    EXPECT_EQ(first->seen, (std::vector<bool>{false, false}));
    EXPECT_EQ(second->seen, (std::vector<bool>{true, true}));
    EXPECT_TRUE(inactive->seen.empty());

    f.chain->setCurrentActionIndex(0);
    runChain(*f.chain, "/f/y");
    EXPECT_EQ(first->seen.back(), true);
    EXPECT_EQ(second->seen.back(), false);

    // The current step inactive: nobody sees "preview".
    f.chain->setCurrentActionIndex(4);
    runChain(*f.chain, "/f/z");
    EXPECT_EQ(first->seen.back(), false);
    EXPECT_EQ(second->seen.back(), false);
    EXPECT_TRUE(inactive->seen.empty());
}

TEST(Chain, PreviewRowHoldsOldNameFolderAndNewName) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("_v2", 1)}}, 0)));
    PreviewEntry row;
    InputContext input{"/home/u/photos/a.jpg", u"a.jpg"};
    f.chain->addPreviewDataFor(input.inputPath, row, input);
    EXPECT_EQ(row.oldName, u"a.jpg");
    EXPECT_EQ(row.path, "/home/u/photos");
    EXPECT_EQ(row.newName, u"a_v2.jpg");
    EXPECT_FALSE(row.regex);
}

TEST(Chain, NudgesMoveTheCurrentStepAndDoNothingAtTheEnds) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("1")},
                                                          {"Add to end", addToEnd("2")},
                                                          {"Add to end", addToEnd("3")}},
                                                         0)));
    EXPECT_FALSE(f.chain->nudgeUp());
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x123");
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 0);

    EXPECT_TRUE(f.chain->nudgeDown());
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 1);
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x213");
    EXPECT_TRUE(f.chain->nudgeDown());
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 2);
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x231");
    EXPECT_FALSE(f.chain->nudgeDown());
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x231");
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 2);

    EXPECT_TRUE(f.chain->nudgeUp());
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 1);
    EXPECT_EQ(f.chain->getCurrentAction()->getParamString("string"), "1");
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x213");
}

TEST(Chain, NudgesAnnounceTheListAndTheCurrentStep) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("1")}, {"Add to end", addToEnd("2", 1)}}, 0)));
    RecordingObserver owner;
    f.chain->registerObserverForAllValues(&owner);
    ASSERT_TRUE(f.chain->nudgeDown());
    EXPECT_GE(owner.count("actionList"), 1);
    EXPECT_GE(owner.count("fragmentSelection"), 1);
    EXPECT_EQ(owner.count("currentActionIndex"), 1);
    owner.keys.clear();
    EXPECT_FALSE(f.chain->nudgeDown());
    EXPECT_TRUE(owner.keys.empty());
}

TEST(Chain, FragmentSelectionKeyReachesTheCurrentStep) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("_a", 0)}, {"Add to end", addToEnd("_b", 3)}}, 1)));
    EXPECT_EQ(*f.chain->valueForKey("fragmentSelection"), plist::Value(3));
    EXPECT_EQ(f.chain->getFragmentSelectionModeAsInt(), 3);

    RecordingObserver owner;
    f.chain->addObserver(&owner, "fragmentSelection");
    f.chain->setValueForKey("fragmentSelection", plist::Value(1));
    EXPECT_EQ(owner.count("fragmentSelection"), 1);
    EXPECT_EQ(f.chain->getActionDictionaryList()[1]->getParamInt("fragmentSelection", 9), 1);
    EXPECT_EQ(f.chain->getActionDictionaryList()[0]->getParamInt("fragmentSelection", 9), 0);

    // Changing the current step is also a change of the fragment selection shown.
    owner.keys.clear();
    f.chain->addObserver(&owner, "transientActionIndex");
    f.chain->addObserver(&owner, "currentActionIndex");
    f.chain->setValueForKey("currentActionIndex", plist::Value(0));
    EXPECT_EQ(owner.count("currentActionIndex"), 1);
    EXPECT_EQ(owner.count("fragmentSelection"), 1);
    EXPECT_EQ(owner.count("transientActionIndex"), 1);
    EXPECT_EQ(*f.chain->valueForKey("fragmentSelection"), plist::Value(0));
    EXPECT_EQ(f.chain->getParamInt("currentActionIndex", 9), 0);
}

TEST(Chain, TransientActionIndexReadsTheMenuIndexOfTheCurrentStep) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("_a")}}, 0)));
    const int index = f.registry->popUpMenuIndexForName("Add to end");
    ASSERT_NE(index, ActionList::kNotFound);
    EXPECT_EQ(f.chain->transientActionIndex(), index);
    EXPECT_EQ(*f.chain->valueForKey("transientActionIndex"), plist::Value(index));
}

TEST(Chain, TypeChangeToAMenuSeparatorFailsAndKeepsTheStep) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("_a", 1)}}, 0)));
    int separator = -1;
    for (int i = 0; i < f.registry->count(); ++i)
        if (f.registry->nameForPopUpIndex(i).empty())
            separator = i;
    ASSERT_GE(separator, 0);
    LogCapture log;
    const auto changed = f.chain->setTransientActionIndex(separator);
    EXPECT_FALSE(changed);
    EXPECT_EQ(changed.messageIfFailed(), "Couldn't load new action from nib!");
    EXPECT_EQ(stepNames(*f.chain), std::vector<std::string>{"Add to end"});
    EXPECT_EQ(runChain(*f.chain, "/f/x.txt"), u"x_a.txt");
}

TEST(Chain, AddStepCopiesTheCurrentStepAfterIt) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("_a")}, {"Add to end", addToEnd("_z")}}, 0)));
    f.chain->getCurrentAction()->setValueForKey("string", plist::Value("_edited"));
    f.chain->getCurrentAction()->setValueForKey("fragmentSelection", plist::Value(1));
    f.chain->getCurrentAction()->setValueForKey("active", plist::Value(0));
    RecordingObserver owner;
    f.chain->setOwner(&owner);
    ASSERT_TRUE(f.chain->addStep());
    ASSERT_EQ(f.chain->count(), 3);
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 1);
    const auto& copy = *f.chain->getActionDictionaryList()[1];
    EXPECT_EQ(copy.getParamString("string"), "_edited");
    EXPECT_EQ(copy.getParamInt("fragmentSelection", 9), 1);
    EXPECT_EQ(copy.getParamInt("active", 9), 0);
    EXPECT_EQ(f.chain->getActionDictionaryList()[2]->getParamString("string"), "_z");
    // The new step is observed by the chain's owner.
    f.chain->getCurrentAction()->setValueForKey("string", plist::Value("_seen"));
    EXPECT_EQ(owner.count("string"), 1);
}

TEST(Chain, RemovingStepsNeverEmptiesTheChain) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("1")},
                                                          {"Add to end", addToEnd("2")},
                                                          {"Add to end", addToEnd("3")}},
                                                         2)));
    auto removed = f.chain->removeStep(2);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->getParamString("string"), "3");
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 1);
    EXPECT_TRUE(f.chain->removeStep(0));
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 0);
    EXPECT_FALSE(f.chain->removeStep(0));
    EXPECT_FALSE(f.chain->removeStep(7));
    EXPECT_EQ(f.chain->count(), 1);
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x2");
}

TEST(Chain, BrokenCurrentIndexIsAnInternalErrorAndChangesNothing) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("1")}, {"Add to end", addToEnd("2")}}, 0)));
    LogCapture log;
    f.chain->setCurrentActionIndex(5);
    EXPECT_EQ(f.chain->getCurrentAction(), nullptr);
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x");
    EXPECT_EQ(runChain(*f.chain, "/f/y"), u"y");
    EXPECT_TRUE(log.contains("assertion failed! Current action index 5 is out of bounds 2."));
    EXPECT_EQ(log.lines.size(), 1u); // once, not once per item
    const auto changed = f.chain->setTransientActionIndex(0);
    EXPECT_FALSE(changed);
    EXPECT_EQ(changed.messageIfFailed(),
              "assertion failed! Current action index 5 is out of bounds 2.");
    EXPECT_FALSE(f.chain->nudgeUp());
    // Saving keeps the steps, with an index inside the list.
    EXPECT_EQ(f.chain->getFlatParameterList().at("currentActionIndex"), plist::Value(1));

    log.lines.clear();
    f.chain->setCurrentActionIndex(std::nullopt);
    EXPECT_TRUE(log.contains("setCurrentActionIndex must not be null!"));
    EXPECT_EQ(f.chain->getParamInt("currentActionIndex", 0), 5);

    // A negative index reads as the first step.
    f.chain->setCurrentActionIndex(-3);
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 0);
    EXPECT_EQ(runChain(*f.chain, "/f/x"), u"x12");
}

TEST(Chain, SaveAndLoadRoundTripRestoresEverything) {
    ChainFixture f;
    const auto saved = savedChain({{"Add to end", addToEnd("_a", 1)},
                                   {"Add to end", addToEnd("_b", 2, 0)},
                                   {"Add to end", addToEnd("_c", 3)}},
                                  2);
    ASSERT_TRUE(f.chain->setFlatParameterList(saved));
    EXPECT_EQ(f.chain->getFlatParameterList(), saved);

    auto other = makeAction<CompositeRenameAction>(*f.registry);
    ASSERT_TRUE(other->setFlatParameterList(f.chain->getFlatParameterList()));
    EXPECT_EQ(other->getFlatParameterList(), saved);
    EXPECT_EQ(other->getCurrentActionIndexAsInt(), 2);
    EXPECT_EQ(runChain(*other, "/f/x.txt"), runChain(*f.chain, "/f/x.txt"));
}

TEST(Chain, SaveAndLoadThroughThePreferencesDomain) {
    ChainFixture f;
    const auto saved = savedChain(
        {{"Add to end", addToEnd("_first", 1)}, {"Add to end", addToEnd("_second", 0, 0)}}, 1);
    ASSERT_TRUE(f.chain->setFlatParameterList(saved));
    ASSERT_TRUE(f.chain->nudgeUp()); // order and index as edited, not as loaded
    f.chain->getCurrentAction()->setValueForKey("string", plist::Value("_edited"));
    ASSERT_TRUE(f.chain->saveToPreferences());

    // Another process: a fresh reading of the same domain file.
    UserDefaults reread("net.halvard.mrvn7", f.folder.path());
    ActionList registry(reread);
    auto loaded = makeAction<CompositeRenameAction>(registry);
    ASSERT_TRUE(loaded->loadFromPreferences());
    ASSERT_EQ(loaded->count(), 2);
    EXPECT_EQ(loaded->getCurrentActionIndexAsInt(), 0);
    EXPECT_EQ(loaded->getActionDictionaryList()[0]->getParamString("string"), "_edited");
    EXPECT_EQ(loaded->getActionDictionaryList()[0]->getParamInt("active", 9), 0);
    EXPECT_EQ(loaded->getActionDictionaryList()[1]->getParamString("string"), "_first");
    EXPECT_EQ(loaded->getActionDictionaryList()[1]->getParamInt("fragmentSelection", 9), 1);
    EXPECT_EQ(loaded->getFlatParameterList(), f.chain->getFlatParameterList());
    // The file itself holds the saved form under "composite action".
    auto file = plist::readFile(reread.filePath());
    ASSERT_TRUE(file && file->asDictionary());
    EXPECT_TRUE(plist::find(*file->asDictionary(), "composite action"));
}

TEST(Chain, SavedIndexBeyondTheStepsIsMadeTheLastStep) {
    ChainFixture f;
    LogCapture log;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("1")}, {"Add to end", addToEnd("2")}}, 9)));
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 1);
    EXPECT_NE(f.chain->getCurrentAction(), nullptr);
    EXPECT_TRUE(log.contains("out of bounds"));
}

TEST(Chain, LoadingAnnouncesTheNewChain) {
    ChainFixture f;
    RecordingObserver owner;
    f.chain->registerObserverForAllValues(&owner);
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("1")}}, 0)));
    EXPECT_EQ(owner.count("currentActionIndex"), 1);
    EXPECT_EQ(owner.count("actionList"), 1);
}

TEST(Chain, StepsCreatedByTheChainAreObservedByItsOwner) {
    ChainFixture f;
    RecordingObserver owner;
    f.chain->setOwner(&owner);
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("1")}, {"Add to end", addToEnd("2")}}, 0)));
    owner.keys.clear();
    for (const auto& step : f.chain->getActionDictionaryList())
        step->setValueForKey("string", plist::Value("x"));
    EXPECT_EQ(owner.count("string"), 2);
}

TEST(Chain, IsNeverInTheRegistry) {
    ChainFixture f;
    EXPECT_FALSE(f.chain->shouldRegisterWithActionList());
    EXPECT_EQ(f.chain->actionName(), "Composite rename action");
    EXPECT_FALSE(f.registry->newActionForName("Composite rename action", nullptr));
    EXPECT_TRUE(f.chain->canClose());
}

TEST(Chain, FirstStartIsOneProduceNumberedListStep) {
    for (const std::optional<plist::Dictionary>& saved :
         {std::optional<plist::Dictionary>(), std::optional<plist::Dictionary>(plist::Dictionary{}),
          std::optional<plist::Dictionary>(savedChain({}, 0))}) {
        ChainFixture f;
        ASSERT_TRUE(f.chain->setFlatParameterList(
            savedChain({{"Add to end", addToEnd("1")}, {"Add to end", addToEnd("2")}}, 1)));
        ASSERT_TRUE(f.chain->setFlatParameterList(saved));
        EXPECT_EQ(stepNames(*f.chain), std::vector<std::string>{"Produce numbered list"});
        EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 0);
        EXPECT_NE(f.chain->getCurrentAction(), nullptr);
    }
    ChainFixture f;
    ASSERT_TRUE(f.chain->loadFromPreferences());
    EXPECT_EQ(stepNames(*f.chain), std::vector<std::string>{"Produce numbered list"});
}

TEST(Chain, LoadingReplacesEveryStepOfTheChain) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("1")},
                                                          {"Add to end", addToEnd("2")},
                                                          {"Add to end", addToEnd("3")}},
                                                         2)));
    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain({{"Add to end", addToEnd("x")}}, 0)));
    EXPECT_EQ(f.chain->count(), 1);
    EXPECT_EQ(runChain(*f.chain, "/f/a"), u"ax");
}

TEST(Chain, UnknownStepStopsTheLoadAndLeavesAWorkingChain) {
    ChainFixture f;
    LogCapture log;
    for (const auto& broken :
         {savedChain({{"Add to end", addToEnd("1")},
                      {"No such action", {}},
                      {"Add to end", addToEnd("3")}},
                     2),
          plist::Dictionary{{"currentActionIndex", plist::Value(0)},
                            {"composite actions array",
                             plist::Value(plist::Array{plist::Value("not a step")})}}}) {
        ASSERT_TRUE(f.chain->setFlatParameterList(
            savedChain({{"Add to end", addToEnd("a")}, {"Add to end", addToEnd("b")}}, 1)));
        const auto loaded = f.chain->setFlatParameterList(broken);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(loaded.messageIfFailed(), "Couldn't load new action from nib!");
        EXPECT_EQ(stepNames(*f.chain), std::vector<std::string>{"Produce numbered list"});
        EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 0);
        EXPECT_NE(f.chain->getCurrentAction(), nullptr);
    }
    EXPECT_TRUE(log.contains("Couldn't load new action from nib!"));
}

TEST(Chain, TypeChangeKeepsTickAndFragmentAndStartsFromSavedParameters) {
    ChainFixture f;
    // The last saved parameters of "Add number to end".
    auto made = f.registry->newActionForName("Add number to end", nullptr);
    ASSERT_TRUE(made) << made.messageIfFailed();
    auto& saved = *made;
    saved->setValueForKey("padding", plist::Value(4));
    saved->setValueForKey("fragmentSelection", plist::Value(3));
    f.registry->saveActionParametersToPreferences(*saved);

    ASSERT_TRUE(f.chain->setFlatParameterList(savedChain(
        {{"Add to end", addToEnd("_first")}, {"Add to end", addToEnd("_old", 1, 0)}}, 1)));
    RecordingObserver owner;
    f.chain->setOwner(&owner);
    f.chain->addObserver(&owner, "transientActionIndex");
    const int numberIndex = f.registry->popUpMenuIndexForName("Add number to end");
    ASSERT_TRUE(f.chain->setTransientActionIndex(numberIndex));
    EXPECT_EQ(owner.count("transientActionIndex"), 1);
    EXPECT_EQ(f.chain->transientActionIndex(), numberIndex);

    EXPECT_EQ(stepNames(*f.chain), (std::vector<std::string>{"Add to end", "Add number to end"}));
    const auto& step = *f.chain->getCurrentAction();
    EXPECT_EQ(step.getParamInt("padding", 0), 4);           // saved for its type
    EXPECT_EQ(step.getParamInt("active", 9), 0);            // kept
    EXPECT_EQ(step.getParamInt("fragmentSelection", 9), 1); // kept
    // The old step's parameters were saved under its type first.
    auto stored = f.defaults->objectForKey("actions");
    ASSERT_TRUE(stored && stored->asDictionary());
    const auto& addToEndSaved = *stored->asDictionary()->at("Add to end").asDictionary();
    EXPECT_EQ(addToEndSaved.at("string"), plist::Value("_old"));

    // Changing back brings the saved "Add to end" parameters with it, and the
    // owner observes the new step.
    ASSERT_TRUE(f.chain->setTransientActionIndex(f.registry->popUpMenuIndexForName("Add to end")));
    EXPECT_EQ(f.chain->getCurrentAction()->getParamString("string"), "_old");
    owner.keys.clear();
    f.chain->getCurrentAction()->setValueForKey("string", plist::Value("_new"));
    EXPECT_EQ(owner.count("string"), 1);

    // Through the key interface as well.
    f.chain->setValueForKey("transientActionIndex", plist::Value(numberIndex));
    EXPECT_EQ(f.chain->getCurrentAction()->actionName(), "Add number to end");
}

TEST(Chain, NewChainHoldsOnePlaceholderStep) {
    ChainFixture f;
    EXPECT_EQ(stepNames(*f.chain), std::vector<std::string>{"Add to front"});
    EXPECT_EQ(f.chain->getCurrentActionIndexAsInt(), 0);
    EXPECT_EQ(runChain(*f.chain, "/f/same.txt"), u"same.txt"); // adds the empty text
}

TEST(Chain, TextStepsFeedEachOther) {
    ChainFixture f;
    ASSERT_TRUE(f.chain->setFlatParameterList(
        savedChain({{"Add to front", {{"string", plist::Value("new ")}}},
                    {"Make uppercase", {{"fragmentSelection", plist::Value(1)}}},
                    {"Replace text",
                     {{"search term", plist::Value("NEW")},
                      {"replacement term", plist::Value("Old")},
                      {"ignore case", plist::Value(0)}}}},
                   0)));
    EXPECT_EQ(runChain(*f.chain, "/f/photo.jpg"), u"Old PHOTO.jpg");
    // The chain as one step (a fragment of a name) runs every step over the fragment.
    InputContext input{"/f/photo.jpg", u"photo.jpg", &FileManager::instance()};
    EXPECT_EQ(f.chain->processName(u"photo", "/f/photo.jpg", input), u"Old PHOTO");
    // Skipping the upper-casing leaves nothing for the exact search to find.
    f.chain->getActionDictionaryList()[1]->setValueForKey("active", plist::Value(0));
    EXPECT_EQ(runChain(*f.chain, "/f/photo.jpg"), u"new photo.jpg");
}

TEST(Chain, TheApplicationsOwnDomainKeepsTheChain) {
    // The shared registry over the application's domain (the test main points
    // the configuration folder at a temporary folder).
    auto chain = makeAction<CompositeRenameAction>(applicationActionList());
    ASSERT_TRUE(chain->setFlatParameterList(
        savedChain({{"Add to end", addToEnd("_x", 1)}, {"Make uppercase", {}}}, 1)));
    ASSERT_TRUE(chain->saveToPreferences());
    const std::string file = UserDefaults::defaultFolder() + "/net.halvard.mrvn7.plist";
    auto stored = plist::readFile(file);
    ASSERT_TRUE(stored && stored->asDictionary()) << file;
    const plist::Value* saved = plist::find(*stored->asDictionary(), "composite action");
    ASSERT_TRUE(saved && saved->asDictionary());
    EXPECT_EQ(*saved->asDictionary(), chain->getFlatParameterList());

    auto loaded = makeAction<CompositeRenameAction>(applicationActionList());
    ASSERT_TRUE(loaded->loadFromPreferences());
    EXPECT_EQ(stepNames(*loaded), (std::vector<std::string>{"Add to end", "Make uppercase"}));
    EXPECT_EQ(loaded->getCurrentActionIndexAsInt(), 1);
    EXPECT_EQ(runChain(*loaded, "/f/a.txt"), u"A_X.TXT");
}
