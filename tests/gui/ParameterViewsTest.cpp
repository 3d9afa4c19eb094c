// Every action of the registry has a complete view: each control edits one of
// the action's keys, each key a user sets has a control, and a change made in
// a control reaches the action and shows again as the action holds it.
#include "gui/ParameterViews.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/BaseRenameAction.h"
#include "gui/ParameterBinder.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace morvane;
using namespace morvane::gui;

namespace {
// Keys no view offers: the steps pane's tick box, the window's "Apply to"
// menu (it edits the current step's), the settings version of the date
// steps, and keys the action never reads or holds fixed.
const std::set<std::string> kInternalEverywhere = {"active", "fragmentSelection", "version"};
const std::map<std::string, std::set<std::string>> kInternal = {
    {"Remove text at front", {"with"}},
    {"Remove text at end", {"with"}},
    {"Remove text", {"replacement term"}},
    {"Manually rename", {"replacement term"}},
    {"Remove characters", {"with 0", "with 1", "with 2", "with 3"}},
    {"Insert number at position", {"prefix", "suffix"}},
    {"Convert to Mac OS 9", {"number of characters", "smart"}},
};
// Keys a view edits that the action reads without a default.
const std::map<std::string, std::set<std::string>> kReadWithoutDefault = {
    {"Manually rename", {"select string"}}};

bool listed(const std::map<std::string, std::set<std::string>>& table, const std::string& action,
            const std::string& key) {
    auto found = table.find(action);
    return found != table.end() && found->second.count(key);
}

// Changes the control as a user would and tells what the action should hold.
void editLikeAUser(QWidget* control) {
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText("x7");
        emit field->textEdited(field->text());
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(spin->value() == spin->maximum() ? spin->minimum() : spin->value() + 1);
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->click();
    } else if (auto* menu = qobject_cast<QComboBox*>(control)) {
        menu->setCurrentIndex(menu->currentIndex() == 0 ? menu->count() - 1 : 0);
    }
}

// What the control shows, as the text of a value.
std::string shown(QWidget* control) {
    if (auto* field = qobject_cast<QLineEdit*>(control))
        return field->text().toStdString();
    if (auto* spin = qobject_cast<QSpinBox*>(control))
        return std::to_string(spin->value());
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return box->isChecked() ? "1" : "0";
    return {};
}

} // namespace

TEST(ParameterViews, EveryActionHasACompleteViewBoundBothWays) {
    test::TempDir settings;
    UserDefaults defaults("net.halvard.mrvn7", settings.path());
    ActionList registry(defaults);
    int actions = 0;
    for (const std::string& name : registry.nameArray()) {
        if (name.empty())
            continue; // a separator of the menu
        SCOPED_TRACE(name);
        ++actions;
        auto made = registry.newActionForName(name, nullptr);
        ASSERT_TRUE(made) << made.messageIfFailed();
        auto& action = *made;
        std::string error;
        std::unique_ptr<QWidget> view(ParameterViews::create(registry, name, &error));
        ASSERT_TRUE(view) << error;
        const plist::Dictionary parameters = action->parameterList();
        const std::vector<std::string> keys = ParameterBinder::keysOfView(view.get());
        for (const std::string& key : keys)
            EXPECT_TRUE(parameters.count(key) || listed(kReadWithoutDefault, name, key)) << key;
        for (const auto& [key, value] : parameters) {
            if (kInternalEverywhere.count(key) || listed(kInternal, name, key))
                continue;
            EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end())
                << "no control for " << key;
        }
        ParameterBinder binder(view.get(), *action);
        for (QWidget* control : view->findChildren<QWidget*>()) {
            const std::string key = control->property("parameterKey").toString().toStdString();
            auto* field = qobject_cast<QLineEdit*>(control);
            const bool editable = (field && !field->isReadOnly()) ||
                                  qobject_cast<QSpinBox*>(control) ||
                                  qobject_cast<QCheckBox*>(control);
            if (key.empty() || !editable)
                continue;
            const std::string before = ParameterBinder::textOf(*action, key);
            editLikeAUser(control);
            binder.observeValueForKey(key, *action, {}, {}); // shown as stored
            EXPECT_NE(ParameterBinder::textOf(*action, key), before) << key;
            EXPECT_EQ(shown(control), ParameterBinder::textOf(*action, key)) << key;
        }
    }
    EXPECT_EQ(actions, 49);
}

TEST(ParameterViews, AViewMissingFromTheBuildIsANamedInternalError) {
    test::TempDir settings;
    UserDefaults defaults("net.halvard.mrvn7", settings.path());
    ActionList registry(defaults);
    std::string error;
    EXPECT_EQ(ParameterViews::create(registry, "No such step", &error), nullptr);
    EXPECT_NE(error.find("\"No such step\""), std::string::npos);
}
