#pragma once
// The root of all actions: a parameter dictionary of property-list values,
// read and written by key with observers, and applied to one item through an
// input and an output context.
//
// Actions are made in two phases, construction and init(), because the
// parameter dictionary starts from the most derived class's defaultParameters;
// use makeAction<T>() or the action registry.
#include "MRVN7x/actions/ActionContext.h"
#include "MRVN7x/actions/KeyValueObserver.h"
#include "platform/PlistValue.h"
#include "platform/Result.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class BaseAction {
public:
    BaseAction() = default;
    BaseAction(const BaseAction&) = delete;
    BaseAction& operator=(const BaseAction&) = delete;
    virtual ~BaseAction() = default;

    // Fills the parameter dictionary from defaultParameters().
    void init();

    // The fixed action name; empty for the base class (it has none).
    virtual std::string actionName() const { return {}; }
    // The action's menu title, from the action registry.
    std::string userDescription() const;
    // "Action: NAME param: {...}", for diagnostics.
    std::string description() const;

    virtual plist::Dictionary defaultParameters() const;
    // Copies parameters into typed fields before use; overrides call their base first.
    virtual void prepareParameters() {}
    // prepareParameters(), skipped when nothing changed since it last ran: an
    // action applied to 100,000 names reads its parameters once, not for each.
    void prepareParametersIfChanged();
    // Changes with every change of a parameter: a reader that looks one up
    // for each of many items keeps its reading while this stays the same.
    std::uint64_t parametersGeneration() const { return parametersGeneration_; }
    virtual bool shouldRegisterWithActionList() const { return true; }

    // An independent copy of the parameter dictionary.
    plist::Dictionary parameterList() const { return dic_; }
    // Merges the entries into the parameter dictionary; keys the list lacks keep their values.
    // Virtual: an action may bring lists saved by older versions up to date first, or act
    // on applied settings (rename from a list reloads its file).
    virtual void setParameterList(const plist::Dictionary& list);

    // The key interface. Keys that a class implements itself are reached by
    // overriding these; every other key reaches the parameter dictionary.
    virtual std::optional<plist::Value> valueForKey(const std::string& key) const;
    // A null value (an emptied control) is translated by the kind stored under the key.
    virtual void setValueForKey(const std::string& key, std::optional<plist::Value> value);
    // The validation hook of the key interface: a parameter editor calls it with
    // the typed value before writing it, and stores the value it hands back. A
    // failure refuses the value; its message (possibly empty) says why. Hands
    // back every value unchanged here.
    virtual Result<std::optional<plist::Value>>
    validatedValueForKey(const std::string& key, std::optional<plist::Value> value);

    // The stored text, or the empty text; a number reads as its decimal text.
    std::string getParamString(const std::string& key) const;
    std::u16string getParamText(const std::string& key) const;
    // The integer reading of the stored value (a text reads its leading
    // digits, clamped to 32 bits), or fallback when the key is absent.
    std::int32_t getParamInt(const std::string& key, std::int32_t fallback) const;
    // Cuts the text under key to one character and writes it back when longer.
    std::u16string limitTextFieldInputTo1Character(const std::string& key);

    virtual void executeWithInputContext(InputContext& input, OutputContext& output);
    virtual void perform(const std::string& path) { (void)path; }
    // Called on the current action whenever the file list is brought up to date.
    virtual void validateNow() {}

    // Observers.
    void addObserver(KeyValueObserver* observer, const std::string& key);
    // Registers for every key now present in the parameter dictionary (and for
    // keys a class implements itself, where it overrides this).
    virtual void registerObserverForAllValues(KeyValueObserver* observer);
    void removeObserver(KeyValueObserver* observer);
    void willChangeValueForKey(const std::string& key);
    void didChangeValueForKey(const std::string& key);

protected:
    // Direct access to the dictionary for setters that must not notify.
    plist::Dictionary& dictionary() {
        markParametersChanged();
        return dic_;
    }
    const plist::Dictionary& dictionary() const { return dic_; }
    void setValueForUndefinedKey(const std::string& key, std::optional<plist::Value> value);
    // For state besides the parameters that prepareParameters() reads.
    void markParametersChanged() { ++parametersGeneration_; }

private:
    plist::Dictionary dic_;
    std::uint64_t parametersGeneration_ = 1;
    std::uint64_t preparedGeneration_ = 0;
    std::map<std::string, std::vector<KeyValueObserver*>> observers_;
    // Old values announced by willChangeValueForKey, waiting for didChangeValueForKey.
    std::map<std::string, std::vector<std::optional<plist::Value>>> pendingOldValues_;
};

// Constructs an action and fills its parameters from its defaults.
template <class T, class... Args> std::unique_ptr<T> makeAction(Args&&... args) {
    auto action = std::make_unique<T>(std::forward<Args>(args)...);
    action->init();
    return action;
}

// The integer reading of a parameter value: numbers as their integer value,
// texts by their leading optional sign and digits after white space (0 without
// digits); clamped to 32 bits.
std::int32_t integerReading(const plist::Value& value);

} // namespace morvane
