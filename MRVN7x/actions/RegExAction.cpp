#include "MRVN7x/actions/RegExAction.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace morvane {

namespace {
// Steps of the ICU match engine (each some thousands of operations, of the
// order of a millisecond): far beyond what any sensible pattern needs on a
// file name, small enough that a runaway one cannot stall the preview.
constexpr int32_t matchTimeLimit = 200;

std::u16string toStd(const icu::UnicodeString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()),
                          static_cast<std::size_t>(s.length()));
}
} // namespace

struct RegExAction::CompiledExpression {
    std::u16string pattern;
    bool ignoreCase = false;
    std::unique_ptr<icu::RegexPattern> compiled; // null when the pattern does not compile
};

RegExAction::RegExAction() {
    compile(u".*", false);
}

RegExAction::~RegExAction() = default;

const char* RegExAction::helpPageAddress() {
    return "https://unicode-org.github.io/icu/userguide/strings/regexp.html";
}

plist::Dictionary RegExAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["search pattern"] = plist::Value("");
    params["replacement term"] = plist::Value("");
    params["ignore case"] = plist::Value(1);
    return params;
}

void RegExAction::compile(const std::u16string& pattern, bool ignoreCase) {
    auto expression = std::make_unique<CompiledExpression>();
    expression->pattern = pattern;
    expression->ignoreCase = ignoreCase;
    if (!pattern.empty()) {
        UErrorCode status = U_ZERO_ERROR;
        UParseError parseError;
        const icu::UnicodeString source(pattern.data(), static_cast<int32_t>(pattern.size()));
        std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
            source, ignoreCase ? UREGEX_CASE_INSENSITIVE : 0, parseError, status));
        if (U_SUCCESS(status))
            expression->compiled = std::move(compiled);
    }
    regEx = std::move(expression);
}

void RegExAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramSearchPattern = getParamText("search pattern");
    paramReplacementTerm = getParamText("replacement term");
    paramIgnoreCase = getParamInt("ignore case", 1);
    const bool ignoreCase = paramIgnoreCase == 1;
    if (!regEx || regEx->pattern != paramSearchPattern || regEx->ignoreCase != ignoreCase)
        compile(paramSearchPattern, ignoreCase);
}

bool RegExAction::hasValidExpression() const {
    return regEx && regEx->compiled;
}

std::optional<std::vector<std::u16string>>
RegExAction::subexpressionsForString(const std::u16string& text) const {
    if (!hasValidExpression())
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input(text.data(), static_cast<int32_t>(text.size()));
    std::unique_ptr<icu::RegexMatcher> matcher(regEx->compiled->matcher(input, status));
    if (U_FAILURE(status) || !matcher)
        return std::nullopt;
    matcher->setTimeLimit(matchTimeLimit, status);
    const bool found = matcher->find(status);
    if (U_FAILURE(status) || !found)
        return std::nullopt;
    const int32_t groups = matcher->groupCount();
    std::vector<std::u16string> list(
        std::max<std::size_t>(kSubexpressionListSize, static_cast<std::size_t>(groups) + 1));
    for (int32_t k = 0; k <= groups; ++k) {
        UErrorCode groupStatus = U_ZERO_ERROR;
        if (matcher->start(k, groupStatus) < 0 || U_FAILURE(groupStatus))
            continue; // took no part in the match
        const icu::UnicodeString group = matcher->group(k, groupStatus);
        if (U_SUCCESS(groupStatus))
            list[static_cast<std::size_t>(k)] = toStd(group);
    }
    return list;
}

std::u16string RegExAction::expandTemplate(const std::u16string& replacementTemplate,
                                           const std::vector<std::u16string>& subexpressions) {
    std::u16string text = replacementTemplate;
    for (std::size_t k = 0; k < kSubexpressionListSize && k < subexpressions.size(); ++k) {
        const char16_t digit = static_cast<char16_t>(u'0' + k);
        std::u16string next;
        next.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == digit) {
                next += subexpressions[k];
                ++i;
            } else {
                next += text[i];
            }
        }
        text = std::move(next);
    }
    return text;
}

std::u16string RegExAction::processName(const std::u16string& fragment, const std::string& path,
                                        InputContext& input) {
    OutputContext unused;
    return processName(fragment, path, input, unused);
}

std::u16string RegExAction::processName(const std::u16string& fragment, const std::string&,
                                        InputContext& input, OutputContext& output) {
    const auto subexpressions = subexpressionsForString(fragment);
    if (!subexpressions) {
        if (input.preview)
            output.regex = std::array<std::u16string, kPreviewColumns>{};
        return fragment;
    }
    if (input.preview) {
        std::array<std::u16string, kPreviewColumns> columns;
        for (std::size_t k = 0; k < kPreviewColumns; ++k)
            columns[k] = (*subexpressions)[k + 1];
        output.regex = columns;
    }
    return expandTemplate(paramReplacementTerm, *subexpressions);
}

} // namespace morvane
