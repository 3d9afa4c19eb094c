#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace morvane::test {

std::unique_ptr<BaseRenameAction> makeNamedAction(const std::string& actionName,
                                                  const plist::Dictionary& params) {
    auto action = ActionFactory::create(actionName);
    EXPECT_NE(action, nullptr) << "no action class registered for \"" << actionName << "\"";
    if (action)
        action->setParameterList(params);
    return action;
}

std::u16string renamed(BaseRenameAction& action, const std::u16string& name,
                       const std::string& path) {
    InputContext input;
    input.inputPath = path;
    input.currentName = name;
    OutputContext output;
    action.executeWithInputContext(input, output);
    return output.newName;
}

std::string renamed(const std::string& actionName, const plist::Dictionary& params,
                    const std::string& name, const std::string& path) {
    auto action = makeNamedAction(actionName, params);
    if (!action)
        return "<no action>";
    return toU8(renamed(*action, toU16(name), path));
}

std::string escaped(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'\\') {
            out += static_cast<char>(unit);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(unit));
            out += buffer;
        }
    }
    return out;
}

std::int64_t NameGenerator::number(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
}

std::u16string NameGenerator::next(std::size_t maximumLength) {
    static const std::u16string pieces[] = {
        u"a",
        u"B",
        u"z",
        u"Q",
        u"0",
        u"7",
        u"42",
        u"007",
        u"1999",
        u" ",
        u"  ",
        u".",
        u"..",
        u"-",
        u"_",
        u"(",
        u")",
        u"\"",
        u"*",
        u"/",
        u"<",
        u">",
        u"?",
        u"\\",
        u"|",
        u"[",
        u"]",
        u"=",
        u"+",
        u";",
        u":",
        u",",
        u"\t",
        u"\x01",
        u"\x1F",
        u"\n",
        u"\u00E9",
        u"e\u0301",
        u"\u00DF",
        u"\u0130",
        u"\u00C5",
        u"\u4E2D",
        u"\U0001F600",
        u"\U0001F468\u200D\U0001F469",
        u"\xDC80",
        u"\xDCFF",
        u"CON",
        u"con",
        u"Prn",
        u"aux",
        u"NUL",
        u"com1",
        u"COM9",
        u"lpt1",
        u"LPT9",
        u"clock$",
        u"jpg",
        u"txt",
        u"\u0665",
        u"\uFF11",
        std::u16string(1, u'\0'),
    };
    std::u16string name;
    const auto length =
        static_cast<std::size_t>(number(0, static_cast<std::int64_t>(maximumLength)));
    while (name.size() < length)
        name += pieces[number(0, std::size(pieces) - 1)];
    return name;
}

} // namespace morvane::test
