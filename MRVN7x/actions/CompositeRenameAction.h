#pragma once
// The multi-step action: an ordered chain of rename actions (the steps), each
// with its own parameters, fragment selection and "active" flag. Running the
// chain feeds every active step's new name to the next step as its current
// name. One step is the current step: the one the parameter panel shows and
// the action menu changes.
//
// The chain owns its steps as a member list rather than inside the parameter
// dictionary: the dictionary holds property-list values only, so it can be
// copied, saved and compared; the steps are objects with observers. The key
// "actionList" is still announced on every change of the list, and reading
// it gives the steps' action names.
//
// Invariant: at least one step, and the current index lies within the list.
// Every operation of the chain keeps it; a "currentActionIndex" written from
// outside that lies beyond the list is reported as an internal error when the
// chain is next used, and the operation that needed the chain is abandoned.
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/PreviewEntry.h"
#include "platform/Result.h"

#include <memory>
#include <string>
#include <vector>

namespace morvane {

class ActionList;

class CompositeRenameAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Composite rename action";
    // The key of the saved chain in the application's preferences domain.
    static constexpr const char* kPreferencesKey = "composite action";
    // The step of a chain that has nothing saved (a first start).
    static constexpr const char* kFirstStepActionName = "Produce numbered list";

    using StepList = std::vector<std::unique_ptr<BaseRenameAction>>;

    // Steps are created through registry, and the chain is saved in its domain.
    explicit CompositeRenameAction(ActionList& registry);

    std::string actionName() const override { return kActionName; }
    bool shouldRegisterWithActionList() const override { return false; }
    plist::Dictionary defaultParameters() const override;
    // Refreshes the current index and checks the invariant (logged when broken).
    void prepareParameters() override;

    // The owner observes every step that the chain creates from now on.
    void setOwner(KeyValueObserver* owner) { owner_ = owner; }
    KeyValueObserver* owner() const { return owner_; }

    const StepList& getActionDictionaryList() const { return steps_; }
    // The current step; nullptr when the current index lies beyond the list.
    BaseRenameAction* getCurrentAction() const;
    std::int32_t getCurrentActionIndexAsInt() const;
    // Stores the index (negative values read as 0); announces "currentActionIndex",
    // "fragmentSelection" and "transientActionIndex". Nothing is refused here; a
    // missing value is the internal error "setCurrentActionIndex must not be null!".
    void setCurrentActionIndex(const std::optional<plist::Value>& index);
    void setCurrentActionIndex(std::int32_t index) { setCurrentActionIndex(plist::Value(index)); }
    int count() const { return static_cast<int>(steps_.size()); }

    // The current step's "fragmentSelection" (0 when absent or unknown).
    std::int32_t getFragmentSelectionModeAsInt() const;
    std::optional<plist::Value> fragmentSelection() const;
    void setFragmentSelection(std::optional<plist::Value> value);

    // The menu index of the current step's action name (ActionList::kNotFound when none).
    int transientActionIndex() const;
    // Changes the current step's type to the action at a menu index: the old
    // step's parameters are saved first, the new step starts from the saved
    // parameters of its type and keeps "active" and "fragmentSelection".
    // A failure when the menu index names no action.
    Result<void> setTransientActionIndex(int menuIndex);

    // Move the current step one place; it stays current. False at the ends.
    bool nudgeUp();
    bool nudgeDown();

    // Step commands. A new step of the current step's type, starting from the
    // current step's parameters (saved first), inserted after it and made current.
    Result<void> addStep();
    // Inserts a step at index (clamped to the end) without changing the current index.
    void insertStep(std::unique_ptr<BaseRenameAction> step, size_t index);
    // Removes the step at index and returns it; the only step is never removed.
    // The current index is moved back into the list when it falls off the end.
    std::unique_ptr<BaseRenameAction> removeStep(size_t index);

    void executeWithInputContext(InputContext& input, OutputContext& output) override;
    // When every active step does (and the chain is sound).
    bool namesItemsIndependently() const override;
    void prepareForConcurrentNaming(InputContext& input) override;
    // The whole chain over the fragment as the item's name.
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
    void addPreviewDataFor(const std::string& path, PreviewEntry& row, InputContext& input);

    // The saved form: "currentActionIndex" and "composite actions array".
    plist::Dictionary getFlatParameterList();
    // Replaces the whole chain by the saved steps; an absent or empty form gives
    // the chain of a first start. A step whose action name the registry does not
    // know stops the load: the chain is then that of a first start, and the
    // registry's failure is returned.
    Result<void> setFlatParameterList(const std::optional<plist::Dictionary>& saved);
    bool saveToPreferences();
    Result<void> loadFromPreferences();

    bool canClose() const;

    // The key interface: "fragmentSelection", "transientActionIndex",
    // "currentActionIndex" and "actionList" are the chain's own.
    std::optional<plist::Value> valueForKey(const std::string& key) const override;
    void setValueForKey(const std::string& key, std::optional<plist::Value> value) override;
    void registerObserverForAllValues(KeyValueObserver* observer) override;

private:
    // The current index when the invariant holds; otherwise a failure with
    // the internal-error message.
    Result<size_t> checkedCurrentIndex() const;
    Result<std::unique_ptr<BaseRenameAction>> newStep(const std::string& name);
    void replaceChain(StepList steps, std::int32_t currentIndex);
    bool moveCurrentStep(int offset);

    ActionList& registry_;
    KeyValueObserver* owner_ = nullptr;
    StepList steps_;
    std::int32_t paramCurrentActionIndex = 0;
    std::string lastReportedError_; // the broken state last logged
};

} // namespace morvane
