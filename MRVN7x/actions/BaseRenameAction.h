#pragma once
// The base of every action that computes a new name. It splits the display
// name by the fragment selection, hands the chosen fragment to processName and
// joins the result with the parts it kept.
#include "MRVN7x/actions/BaseAction.h"

namespace morvane {

class BaseRenameAction : public BaseAction {
public:
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;

    // The transformation itself: the new fragment. A step that also fills the
    // output context (the regular expression's groups) overrides the second form.
    virtual std::u16string processName(const std::u16string& fragment, const std::string& path,
                                       InputContext& input) = 0;
    virtual std::u16string processName(const std::u16string& fragment, const std::string& path,
                                       InputContext& input, OutputContext& output);

    void executeWithInputContext(InputContext& input, OutputContext& output) override;
    // Whether the step takes part in the chain ("active" is 1).
    bool isActive() const { return getParamInt("active", 0) == 1; }

    // Whether items may be named on several threads at once: an item's new
    // name depends on the item, the parameters and the list's order only, and
    // naming an item writes nothing. prepareForConcurrentNaming() runs first,
    // on one thread, with the context of a listed item, and makes whatever
    // naming reads later. Off unless a step says so.
    virtual bool namesItemsIndependently() const { return false; }
    virtual void prepareForConcurrentNaming(InputContext&) { prepareParametersIfChanged(); }

    // Where a display name is split: the part kept in front, the fragment, the
    // part kept behind. Nothing for selections 2 and 3 on a name without ".".
    struct Split {
        std::u16string front, fragment, back;
    };
    static std::optional<Split> splitName(const std::u16string& name, std::int32_t selection);

protected:
    std::int32_t paramFragmentSelectionMode = 0;
};

} // namespace morvane
