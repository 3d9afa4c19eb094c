#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

#include <memory>
#include <vector>

namespace morvane {

// "Reg Ex Substitution": when "search pattern" (an ICU regular expression,
// case-insensitive when "ignore case" is 1) matches anywhere in the fragment,
// the whole fragment is replaced by "replacement term" with "\0" to "\8"
// filled in: "\0" the text of the whole match, "\K" that of the K-th
// parenthesised subexpression (numbered by their opening parentheses from 1;
// empty when the expression has no such subexpression or it took no part).
// The references are filled in order, "\0" first, each over the whole text
// built so far, so a subexpression whose text holds "\5" is expanded again
// when "\5" comes. "\9" is no reference.
//
// While the preview computes the chain's current step ("preview" in the input
// context) the first six subexpressions go to the output context's regex
// columns, empty when the fragment does not match.
//
// A pattern that does not compile, and the empty pattern, match nothing: every
// name stays unchanged and the columns stay empty. A match that runs into the
// matcher's time limit (a pattern that backtracks without end) counts as no
// match, so a bad pattern cannot hang the preview.
//
// The compiled expression is kept for its pattern and case flag and compiled
// again only when either changes; matching is the same as with a fresh one.
class RegExAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Reg Ex Substitution";
    static constexpr std::size_t kSubexpressionListSize = 9;
    static constexpr std::size_t kPreviewColumns = 6;

    RegExAction();
    ~RegExAction() override;
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    // Reads the three keys and compiles the expression when they changed it.
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input, OutputContext& output) override;

    // Whether the current expression compiled.
    bool hasValidExpression() const;
    // The subexpression list of a text the expression matches (at least nine
    // entries); nothing when it does not match.
    std::optional<std::vector<std::u16string>>
    subexpressionsForString(const std::u16string& text) const;
    // The template with "\0" to "\8" replaced in order by the list's entries.
    static std::u16string expandTemplate(const std::u16string& replacementTemplate,
                                         const std::vector<std::u16string>& subexpressions);

    // The regular-expression primer that the parameter view links to.
    static const char* helpPageAddress();

protected:
    std::u16string paramSearchPattern;
    std::u16string paramReplacementTerm;
    std::int32_t paramIgnoreCase = 1;

private:
    struct CompiledExpression;
    void compile(const std::u16string& pattern, bool ignoreCase);

    std::unique_ptr<CompiledExpression> regEx;
};

} // namespace morvane
