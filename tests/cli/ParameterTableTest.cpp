// The parameter table against the parameter views: every menu and group of
// radio buttons of gui/views shows, in order, the titles the table gives its
// key, so the windows and the command line offer the same choices.
#include "MRVN7x/actions/ParameterTable.h"
#include "MRVN7x/actions/ActionList.h"
#include "platform/Resources.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace morvane;

namespace {

std::string unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities)
        for (size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string(entity).size(), character);
    return text;
}

// A label as the table keeps it: without its shortcut mark and colon.
std::string cleaned(std::string text) {
    for (size_t at; (at = text.find('&')) != std::string::npos;)
        text.erase(at, 1);
    while (!text.empty() && (text.back() == ':' || text.back() == ' '))
        text.pop_back();
    return text;
}

// The text of the first <string> after the property name within a widget.
std::string property(const std::string& widget, const std::string& name) {
    const size_t at = widget.find("<property name=\"" + name + "\"");
    if (at == std::string::npos)
        return {};
    const size_t open = widget.find('>', widget.find('<', widget.find('>', at) + 1)) + 1;
    return unescaped(widget.substr(open, widget.find('<', open) - open));
}

// The titles a view gives each choice key: menu items, or radio buttons' texts by value.
std::map<std::string, std::vector<ParameterChoice>> choicesOfView(const std::string& ui) {
    std::map<std::string, std::vector<ParameterChoice>> keys;
    for (size_t at = 0; (at = ui.find("<widget class=\"", at)) != std::string::npos; ++at) {
        const std::string widget = ui.substr(at, ui.find("</widget>", at) - at);
        const std::string key = property(widget, "parameterKey");
        if (key.empty())
            continue;
        if (widget.rfind("<widget class=\"QRadioButton\"", 0) == 0) {
            keys[key].push_back(
                {std::stoi(property(widget, "parameterValue")), cleaned(property(widget, "text"))});
        } else if (widget.rfind("<widget class=\"QComboBox\"", 0) == 0) {
            std::vector<ParameterChoice>& choices = keys[key];
            const std::string resource = property(widget, "itemsResource");
            if (auto titles = resource.empty() ? std::nullopt : Resources::plist(resource))
                for (const auto& title : *titles->asArray())
                    choices.push_back({static_cast<int>(choices.size()), *title.asString()});
            for (size_t item = 0; (item = widget.find("<item>", item)) != std::string::npos; ++item)
                choices.push_back(
                    {static_cast<int>(choices.size()), property(widget.substr(item), "text")});
        }
    }
    return keys;
}

} // namespace

TEST(ParameterTable, EveryViewsMenusShowTheTablesTitles) {
    UserDefaults defaults("parameter-table", testing::TempDir());
    ActionList registry(defaults);
    const std::string views = test::testDataPath("../../../gui/views/");
    size_t menus = 0;
    for (int i = 0; i < registry.count(); ++i) {
        const std::string name = registry.nameForPopUpIndex(i);
        if (name.empty())
            continue;
        SCOPED_TRACE(name);
        std::ifstream file(views + registry.nibNameForActionName(name) + ".ui");
        ASSERT_TRUE(file) << views;
        std::stringstream ui;
        ui << file.rdbuf();
        ASSERT_TRUE(ParameterTable::forAction(name));
        for (const auto& [key, choices] : choicesOfView(ui.str())) {
            const ParameterInfo* info = ParameterTable::find(name, key);
            ASSERT_TRUE(info) << key;
            ASSERT_EQ(info->choices.size(), choices.size()) << key;
            for (size_t c = 0; c < choices.size(); ++c) {
                EXPECT_EQ(info->choices[c].value, choices[c].value) << key;
                EXPECT_EQ(info->choices[c].title, choices[c].title) << key;
            }
            ++menus;
        }
    }
    EXPECT_GT(menus, 50u);
}

TEST(ParameterTable, ValuesAreAcceptedOnlyWithinTheirRangeOrChoices) {
    struct Case {
        const char* action;
        const char* key;
        int value;
        bool accepted;
    };
    const Case cases[] = {
        {"Add number to start", "padding", 255, true},
        {"Add number to start", "padding", 256, false},
        {"Add number to start", "padding", -1, false},
        {"Add number to start", "sortingMode", 11, true},
        {"Add number to start", "sortingMode", 12, false},
        {"Rename to date", "mode", 3, true},
        {"Rename to date", "mode", 4, false},
        {"Replace text", "ignore case", 1, true},
        {"Replace text", "ignore case", 2, false},
        {"Add to end", "fragmentSelection", 3, true},
        {"Add to end", "fragmentSelection", -1, false},
    };
    for (const auto& c : cases) {
        const ParameterInfo* info = ParameterTable::find(c.action, c.key);
        ASSERT_TRUE(info) << c.action << " " << c.key;
        EXPECT_EQ(info->accepts(c.value), c.accepted) << c.key << "=" << c.value;
    }
    EXPECT_FALSE(ParameterTable::find("Add to end", "search term"));
    EXPECT_EQ(ParameterTable::findGlobal("renameMode")->choices.size(), 4u);
}
