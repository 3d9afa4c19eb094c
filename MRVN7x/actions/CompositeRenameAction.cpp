#include "MRVN7x/actions/CompositeRenameAction.h"

#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/ActionList.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace morvane {
namespace {

const std::string kFragmentSelection = "fragmentSelection";
const std::string kTransientActionIndex = "transientActionIndex";
const std::string kCurrentActionIndex = "currentActionIndex";
const std::string kActionList = "actionList";
const std::string kStepsKey = "composite actions array";
const std::string kStepNameKey = "action name";
const std::string kStepParametersKey = "action parameter list";

// The step a new chain starts with, before anything is loaded into it.
constexpr const char* kPlaceholderActionName = "Add to front";

std::string outOfBoundsMessage(std::int32_t index, size_t count) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer,
                  "assertion failed! Current action index %d is out of bounds %d.", index,
                  static_cast<int>(count));
    return buffer;
}

// Announces a change of several keys around one edit of the chain.
class ChangeAnnouncement {
public:
    ChangeAnnouncement(BaseAction& action, std::initializer_list<std::string> keys)
        : action_(action), keys_(keys) {
        for (const auto& key : keys_)
            action_.willChangeValueForKey(key);
    }
    ~ChangeAnnouncement() {
        for (auto it = keys_.rbegin(); it != keys_.rend(); ++it)
            action_.didChangeValueForKey(*it);
    }
    ChangeAnnouncement(const ChangeAnnouncement&) = delete;
    ChangeAnnouncement& operator=(const ChangeAnnouncement&) = delete;

private:
    BaseAction& action_;
    std::vector<std::string> keys_;
};

} // namespace

CompositeRenameAction::CompositeRenameAction(ActionList& registry) : registry_(registry) {
    // Constructed directly: no parameter view, no saved parameters, no observer.
    if (auto placeholder = ActionFactory::create(kPlaceholderActionName))
        steps_.push_back(std::move(placeholder));
}

plist::Dictionary CompositeRenameAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params[kCurrentActionIndex] = plist::Value(0);
    return params;
}

Result<size_t> CompositeRenameAction::checkedCurrentIndex() const {
    const std::int32_t index = getCurrentActionIndexAsInt();
    if (steps_.empty())
        return Failure{0, "Action list is empty!"};
    if (static_cast<size_t>(index) >= steps_.size())
        return Failure{0, outOfBoundsMessage(index, steps_.size())};
    return static_cast<size_t>(index);
}

void CompositeRenameAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramCurrentActionIndex = getCurrentActionIndexAsInt();
    const auto current = checkedCurrentIndex();
    if (current) {
        lastReportedError_.clear();
        return;
    }
    // Reported once per broken state: the preview asks for every row.
    const std::string& error = current.message();
    if (error != lastReportedError_)
        SystemLog::error("Internal error: " + error);
    lastReportedError_ = error;
}

BaseRenameAction* CompositeRenameAction::getCurrentAction() const {
    const auto index = checkedCurrentIndex();
    return index ? steps_[*index].get() : nullptr;
}

std::int32_t CompositeRenameAction::getCurrentActionIndexAsInt() const {
    return std::max(0, getParamInt(kCurrentActionIndex, 0));
}

void CompositeRenameAction::setCurrentActionIndex(const std::optional<plist::Value>& index) {
    if (!index) {
        SystemLog::error("Internal error: setCurrentActionIndex must not be null!");
        return;
    }
    ChangeAnnouncement change(*this,
                              {kCurrentActionIndex, kFragmentSelection, kTransientActionIndex});
    dictionary().insert_or_assign(kCurrentActionIndex, *index);
}

std::int32_t CompositeRenameAction::getFragmentSelectionModeAsInt() const {
    const BaseRenameAction* step = getCurrentAction();
    return step ? step->getParamInt(kFragmentSelection, 0) : 0;
}

std::optional<plist::Value> CompositeRenameAction::fragmentSelection() const {
    const BaseRenameAction* step = getCurrentAction();
    return step ? step->valueForKey(kFragmentSelection) : std::nullopt;
}

void CompositeRenameAction::setFragmentSelection(std::optional<plist::Value> value) {
    BaseRenameAction* step = getCurrentAction();
    if (!step)
        return;
    ChangeAnnouncement change(*this, {kFragmentSelection});
    step->setValueForKey(kFragmentSelection, std::move(value));
}

int CompositeRenameAction::transientActionIndex() const {
    const BaseRenameAction* step = getCurrentAction();
    return step ? registry_.popUpMenuIndexForName(step->actionName()) : ActionList::kNotFound;
}

Result<std::unique_ptr<BaseRenameAction>> CompositeRenameAction::newStep(const std::string& name) {
    return registry_.newActionForName(name, owner_);
}

Result<void> CompositeRenameAction::setTransientActionIndex(int menuIndex) {
    ChangeAnnouncement change(*this, {kTransientActionIndex});
    prepareParameters();
    const auto current = checkedCurrentIndex();
    if (!current)
        return current.failure();
    BaseRenameAction& old = *steps_[*current];
    registry_.saveActionParametersToPreferences(old);
    const auto active = old.valueForKey("active");
    const auto selection = old.valueForKey(kFragmentSelection);
    auto step = newStep(registry_.nameForPopUpIndex(menuIndex));
    if (!step)
        return step.failure();
    steps_[*current] = std::move(*step);
    BaseRenameAction& replacement = *steps_[*current];
    if (active)
        replacement.setValueForKey("active", active);
    if (selection)
        replacement.setValueForKey(kFragmentSelection, selection);
    return Result<void>::success();
}

bool CompositeRenameAction::moveCurrentStep(int offset) {
    prepareParameters();
    const auto current = checkedCurrentIndex();
    if (!current)
        return false;
    const auto target = static_cast<std::int64_t>(*current) + offset;
    if (target < 0 || target >= static_cast<std::int64_t>(steps_.size()))
        return false;
    ChangeAnnouncement change(*this, {kActionList, kFragmentSelection});
    auto step = std::move(steps_[*current]);
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(*current));
    steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(target), std::move(step));
    setCurrentActionIndex(static_cast<std::int32_t>(target));
    return true;
}

bool CompositeRenameAction::nudgeUp() {
    return moveCurrentStep(-1);
}

bool CompositeRenameAction::nudgeDown() {
    return moveCurrentStep(1);
}

Result<void> CompositeRenameAction::addStep() {
    prepareParameters();
    const auto current = checkedCurrentIndex();
    if (!current)
        return current.failure();
    // Saving first makes the new step start from the current step's parameters.
    registry_.saveActionParametersToPreferences(*steps_[*current]);
    auto step = newStep(steps_[*current]->actionName());
    if (!step)
        return step.failure();
    insertStep(std::move(*step), *current + 1);
    setCurrentActionIndex(static_cast<std::int32_t>(*current + 1));
    return Result<void>::success();
}

void CompositeRenameAction::insertStep(std::unique_ptr<BaseRenameAction> step, size_t index) {
    if (!step)
        return;
    ChangeAnnouncement change(*this, {kActionList, kFragmentSelection, kTransientActionIndex});
    index = std::min(index, steps_.size());
    steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(index), std::move(step));
}

std::unique_ptr<BaseRenameAction> CompositeRenameAction::removeStep(size_t index) {
    if (steps_.size() <= 1 || index >= steps_.size())
        return nullptr;
    std::unique_ptr<BaseRenameAction> removed;
    {
        ChangeAnnouncement change(*this, {kActionList, kFragmentSelection, kTransientActionIndex});
        removed = std::move(steps_[index]);
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    if (static_cast<size_t>(getCurrentActionIndexAsInt()) >= steps_.size())
        setCurrentActionIndex(static_cast<std::int32_t>(steps_.size() - 1));
    return removed;
}

void CompositeRenameAction::executeWithInputContext(InputContext& input, OutputContext& output) {
    prepareParametersIfChanged();
    const auto current = checkedCurrentIndex();
    if (!current) { // reported by prepareParameters; the name stays as it is
        output.newName = input.currentName;
        return;
    }
    bool anyStepRan = false;
    for (size_t i = 0; i < steps_.size(); ++i) {
        BaseRenameAction& step = *steps_[i];
        if (!step.isActive())
            continue;
        const bool isCurrent = i == *current;
        if (isCurrent)
            input.preview = true;
        step.executeWithInputContext(input, output);
        if (isCurrent)
            input.preview = false;
        input.currentName = output.newName;
        anyStepRan = true;
    }
    if (!anyStepRan)
        output.newName = input.currentName;
}

bool CompositeRenameAction::namesItemsIndependently() const {
    if (!checkedCurrentIndex())
        return false;
    return std::all_of(steps_.begin(), steps_.end(), [](const auto& step) {
        return !step->isActive() || step->namesItemsIndependently();
    });
}

void CompositeRenameAction::prepareForConcurrentNaming(InputContext& input) {
    prepareParametersIfChanged();
    for (const auto& step : steps_)
        if (step->isActive())
            step->prepareForConcurrentNaming(input);
}

std::u16string CompositeRenameAction::processName(const std::u16string& fragment,
                                                  const std::string& path, InputContext& input) {
    InputContext item = input;
    item.inputPath = path;
    item.currentName = fragment;
    OutputContext output;
    executeWithInputContext(item, output);
    return output.newName;
}

void CompositeRenameAction::addPreviewDataFor(const std::string& path, PreviewEntry& row,
                                              InputContext& input) {
    row.oldName = input.currentName;
    row.path = PathText::folderOf(path);
    OutputContext output;
    executeWithInputContext(input, output);
    if (output.regex)
        row.regex = std::make_shared<const std::array<std::u16string, 6>>(std::move(*output.regex));
    row.newName = std::move(output.newName);
}

plist::Dictionary CompositeRenameAction::getFlatParameterList() {
    prepareParameters();
    plist::Array steps;
    for (const auto& step : steps_) {
        steps.push_back(plist::Value(
            plist::Dictionary{{kStepNameKey, plist::Value(step->actionName())},
                              {kStepParametersKey, plist::Value(step->parameterList())}}));
    }
    // A broken index is saved as the nearest valid one, so the steps are not lost.
    const auto last = static_cast<std::int32_t>(std::max<size_t>(steps_.size(), 1) - 1);
    return {{kCurrentActionIndex, plist::Value(std::min(getCurrentActionIndexAsInt(), last))},
            {kStepsKey, plist::Value(std::move(steps))}};
}

void CompositeRenameAction::replaceChain(StepList steps, std::int32_t currentIndex) {
    steps_ = std::move(steps);
    dictionary().insert_or_assign(kCurrentActionIndex, plist::Value(currentIndex));
}

Result<void>
CompositeRenameAction::setFlatParameterList(const std::optional<plist::Dictionary>& saved) {
    ChangeAnnouncement change(
        *this, {kCurrentActionIndex, kActionList, kFragmentSelection, kTransientActionIndex});
    const plist::Value* stepsValue = saved ? plist::find(*saved, kStepsKey) : nullptr;
    const plist::Array* entries = stepsValue ? stepsValue->asArray() : nullptr;

    // The saved steps are built aside, so a step that cannot be created
    // leaves no half-loaded chain behind.
    StepList loaded;
    Result<void> complete; // the failure of the step that stopped the load
    for (size_t i = 0; entries && i < entries->size(); ++i) {
        const plist::Dictionary* entry = (*entries)[i].asDictionary();
        const plist::Value* name = entry ? plist::find(*entry, kStepNameKey) : nullptr;
        auto step = newStep(name && name->asString() ? *name->asString() : std::string());
        if (!step) {
            complete = step.failure();
            loaded.clear();
            break;
        }
        const plist::Value* parameters = plist::find(*entry, kStepParametersKey);
        if (parameters && parameters->asDictionary())
            (*step)->setParameterList(*parameters->asDictionary());
        loaded.push_back(std::move(*step));
    }

    std::int32_t index = 0;
    if (!loaded.empty()) {
        const plist::Value* savedIndex = plist::find(*saved, kCurrentActionIndex);
        index = savedIndex ? std::max(0, integerReading(*savedIndex)) : 0;
        if (static_cast<size_t>(index) >= loaded.size()) {
            SystemLog::warning("The saved chain's " + outOfBoundsMessage(index, loaded.size()) +
                               " The last step is made current.");
            index = static_cast<std::int32_t>(loaded.size() - 1);
        }
    } else {
        auto first = newStep(kFirstStepActionName);
        if (!first) // the chain as it was still holds the invariant
            return complete ? Result<void>(first.failure()) : complete;
        loaded.push_back(std::move(*first));
    }
    replaceChain(std::move(loaded), index);
    return complete;
}

bool CompositeRenameAction::saveToPreferences() {
    UserDefaults& defaults = registry_.defaults();
    defaults.setObject(kPreferencesKey, plist::Value(getFlatParameterList()));
    return defaults.synchronize();
}

Result<void> CompositeRenameAction::loadFromPreferences() {
    auto stored = registry_.defaults().objectForKey(kPreferencesKey);
    const plist::Dictionary* saved = stored ? stored->asDictionary() : nullptr;
    return setFlatParameterList(saved ? std::optional<plist::Dictionary>(*saved) : std::nullopt);
}

bool CompositeRenameAction::canClose() const {
    SystemLog::write(SystemLog::Level::Debug, "canClose called");
    return true;
}

std::optional<plist::Value> CompositeRenameAction::valueForKey(const std::string& key) const {
    if (key == kFragmentSelection)
        return fragmentSelection();
    if (key == kTransientActionIndex)
        return plist::Value(transientActionIndex());
    if (key == kActionList) {
        plist::Array names;
        for (const auto& step : steps_)
            names.push_back(plist::Value(step->actionName()));
        return plist::Value(std::move(names));
    }
    return BaseRenameAction::valueForKey(key);
}

void CompositeRenameAction::setValueForKey(const std::string& key,
                                           std::optional<plist::Value> value) {
    if (key == kFragmentSelection) {
        setFragmentSelection(std::move(value));
    } else if (key == kCurrentActionIndex) {
        setCurrentActionIndex(value);
    } else if (key == kTransientActionIndex) {
        if (value) // a failure is logged where it happens
            (void)setTransientActionIndex(integerReading(*value));
        else
            SystemLog::error("Internal error: transientActionIndex must not be null!");
    } else if (key == kActionList) {
        SystemLog::error("Internal error: the step list is changed through the chain's "
                         "step operations only");
    } else {
        BaseRenameAction::setValueForKey(key, std::move(value));
    }
}

void CompositeRenameAction::registerObserverForAllValues(KeyValueObserver* observer) {
    BaseRenameAction::registerObserverForAllValues(observer);
    addObserver(observer, kActionList);
}

} // namespace morvane
