// The table: default records, rows, the observation rules and saving.
#include "HotKey/KeyTable.h"
#include "tests/prefpane/PaneTestSupport.h"

using namespace tessary;
using namespace tessary::test;
using namespace tsyhotkey;

namespace {

std::vector<std::string> rowNames(const PaneController& controller) {
    std::vector<std::string> names;
    for (const ProductContext* context : controller.hotKeyData())
        names.push_back(context->name());
    return names;
}

std::int64_t integer(const Dictionary& record, const char* key) {
    const Value* value = morvane::plist::find(record, key);
    return value && value->asInteger() ? *value->asInteger() : -1;
}

std::string text(const Dictionary& record, const char* key) {
    const Value* value = morvane::plist::find(record, key);
    return value && value->asString() ? *value->asString() : "<none>";
}

} // namespace

TEST_F(PaneTest, DefaultRecordsForInstalledProductsAndRowsInTheirOrder) {
    installInSupport("Tambrel.app");
    installInSupport("Quenby.app");
    installMorvane();
    alerts.answers = {AlertAnswer::Second}; // declines the Tambrel suggestion
    writeRecord("mrvn", *KeyTable::keyCodeForName("K"), kOptionKeyMask, "NO", "K");

    controller->willSelect();
    EXPECT_EQ(rowNames(*controller), (std::vector<std::string>{"Morvane", "Quenby", "Tambrel"}));
    EXPECT_EQ(text(record("mrvn"), "keyString"), "K") << "a stored record is kept";
    EXPECT_EQ(record("qnby"),
              *AppController::createDefaultValueDictionary()["qnby"].asDictionary());
    EXPECT_EQ(text(record("tmbl"), "keyString"), "F1");
    EXPECT_EQ(text(record("tmbl"), "switchedOn"), "<none>") << "Tambrel's default has no switch";
    EXPECT_TRUE(record("prnw").empty());
    EXPECT_TRUE(record("grlkn").empty());
    EXPECT_FALSE(controller->hotKeyIsInstalled());

    // A product installed after the pane was shown gets its record next time.
    installInSupport("Pirnow.app");
    installInSupport("TSY Grulkan.app");
    controller->willSelect();
    EXPECT_EQ(text(record("prnw"), "keyString"), "S");
    EXPECT_EQ(text(record("grlkn"), "keyString"), "C");
    EXPECT_EQ(rowNames(*controller),
              (std::vector<std::string>{"Morvane", "Pirnow", "Quenby", "Grulkan", "Tambrel"}));
}

TEST_F(PaneTest, RowsShowTheStoredRecord) {
    installMorvane();
    installInSupport("Tambrel.app");
    struct Case {
        std::int64_t mask;
        const char* switchedOn;
        const char* key;
        HotKeyRow row;
    } cases[] = {
        {kControlKeyMask | kCommandKeyMask, "YES", "R", {"", true, 0, 1, 0, 1, 1, 0}},
        {kOptionKeyMask | kShiftKeyMask, "NO", "F5", {"", true, 1, 0, 1, 0, 0, 0}},
        {kShiftKeyMask | 0x1000000, "yes", "HELP", {"", true, 0, 0, 1, 0, 0, 0}},
        {0, nullptr, "F1", {"", true, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        writeRecord("mrvn", 1, c.mask, c.switchedOn, c.key);
        writeRecord("tmbl", 1, c.mask, "NO", c.key);
        controller->willSelect();
        for (const char* name : {"Morvane", "Tambrel"}) {
            const HotKeyRow& shown = row(name).hotKeyTableRowDictionary();
            EXPECT_EQ(shown.name, name);
            EXPECT_EQ(shown.option, c.row.option) << c.key;
            EXPECT_EQ(shown.control, c.row.control) << c.key;
            EXPECT_EQ(shown.shift, c.row.shift) << c.key;
            EXPECT_EQ(shown.command, c.row.command) << c.key;
            EXPECT_EQ(PaneController::keyArray()[shown.principalKeyChoice], c.key);
        }
        EXPECT_EQ(row("Morvane").value(RowKey::Active), c.row.active) << c.key;
        EXPECT_EQ(row("Tambrel").value(RowKey::Active), 1) << "Tambrel is always active";
    }
    alerts.alerts.clear();
    // A name the table lacks falls back to the key of the stored code.
    writeRecord("mrvn", *KeyTable::keyCodeForName("J"), kControlKeyMask, "YES", "no such key");
    controller->willSelect();
    EXPECT_EQ(PaneController::keyArray()[row("Morvane").value(RowKey::PrincipalKeyChoice)], "J");
}

TEST_F(PaneTest, EditingRefusesALetterWithoutOptionControlOrCommand) {
    installMorvane();
    const std::string kIllegal = "Illegal hot key combination";
    struct Case {
        const char* key;
        int option, control, shift, command;
        RowKey changed;
        int value;
        bool alert;
        int optionAfter, controlAfter, commandAfter;
    } cases[] = {
        {"R", 0, 1, 0, 1, RowKey::Command, 0, false, 0, 1, 0},
        {"R", 0, 1, 0, 0, RowKey::Control, 0, true, 0, 1, 0},
        {"R", 1, 0, 0, 0, RowKey::Option, 0, true, 1, 0, 0},
        {"R", 0, 0, 0, 1, RowKey::Command, 0, true, 0, 0, 1},
        {"R", 0, 1, 1, 0, RowKey::Control, 0, true, 0, 1, 0}, // shift does not count
        {"F1", 0, 1, 0, 0, RowKey::Control, 0, false, 0, 0, 0},
        {"F1", 0, 0, 0, 0, RowKey::PrincipalKeyChoice, keyIndex("A"), true, 0, 1, 0},
        {"F1", 0, 0, 0, 0, RowKey::PrincipalKeyChoice, keyIndex("ESCAPE"), true, 0, 1, 0},
        {"F1", 0, 0, 1, 0, RowKey::PrincipalKeyChoice, keyIndex("A"), true, 0, 1, 0},
        {"F1", 0, 0, 0, 0, RowKey::PrincipalKeyChoice, keyIndex("F12"), false, 0, 0, 0},
        {"R", 0, 0, 1, 0, RowKey::Shift, 0, false, 0, 0, 0}, // shift is not watched
    };
    for (const Case& c : cases) {
        const std::int64_t mask = (c.option ? kOptionKeyMask : 0) |
                                  (c.control ? kControlKeyMask : 0) |
                                  (c.shift ? kShiftKeyMask : 0) | (c.command ? kCommandKeyMask : 0);
        writeRecord("mrvn", 1, mask, "YES", c.key);
        controller->willSelect();
        alerts.alerts.clear();
        ProductContext& morvane = row("Morvane");
        morvane.setValue(c.changed, c.value);
        EXPECT_EQ(alerts.alerts.size(), c.alert ? 1u : 0u) << c.key << " " << int(c.changed);
        if (c.alert && !alerts.alerts.empty()) {
            EXPECT_EQ(alerts.alerts[0].title, kIllegal);
            EXPECT_EQ(alerts.alerts[0].buttons, std::vector<std::string>{"Undo"});
        }
        EXPECT_EQ(morvane.value(RowKey::Option), c.optionAfter) << c.key << int(c.changed);
        EXPECT_EQ(morvane.value(RowKey::Control), c.controlAfter) << c.key << int(c.changed);
        EXPECT_EQ(morvane.value(RowKey::Command), c.commandAfter) << c.key << int(c.changed);
    }
}

TEST_F(PaneTest, LeavingSavesLegalKeysAndRefusesALetterWithShiftAlone) {
    installMorvane();
    installInSupport("Pirnow.app");
    installInSupport("Quenby.app");
    // Morvane: a function key alone; Pirnow: a letter with shift alone, as a
    // damaged or hand-written record may hold it; Quenby: switched off.
    writeRecord("mrvn", 1, 0, "YES", "F5");
    writeRecord("prnw", 1, kShiftKeyMask, "YES", "S");
    writeRecord("qnby", 1, kControlKeyMask | kShiftKeyMask, "YES", "A");
    controller->willSelect();
    row("Quenby").setValue(RowKey::Active, 0);
    row("Quenby").setValue(RowKey::PrincipalKeyChoice, keyIndex("DELETE"));
    EXPECT_TRUE(alerts.alerts.empty()) << "shift alone on a letter is accepted while editing";

    EXPECT_TRUE(controller->shouldUnselect());
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, "Illegal Hot Key Selection for Pirnow");
    EXPECT_EQ(alerts.alerts[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(integer(record("prnw"), "keyCode"), 1) << "nothing written for Pirnow";

    const Dictionary morvane = record("mrvn");
    EXPECT_EQ(integer(morvane, "keyCode"), *KeyTable::keyCodeForName("F5"));
    EXPECT_EQ(integer(morvane, "keyModifier"), 0);
    EXPECT_EQ(text(morvane, "switchedOn"), "YES");
    EXPECT_EQ(text(morvane, "keyString"), "F5");
    EXPECT_EQ(morvane.size(), 4u);
    const Dictionary quenby = record("qnby");
    EXPECT_EQ(integer(quenby, "keyCode"), *KeyTable::keyCodeForName("DELETE"));
    EXPECT_EQ(integer(quenby, "keyModifier"), kControlKeyMask | kShiftKeyMask);
    EXPECT_EQ(text(quenby, "switchedOn"), "NO");
    morvane::UserDefaults domain(kHotKeyDomain);
    EXPECT_EQ(*domain.objectForKey("launchAtLogin")->asString(), "YES");
}

TEST_F(PaneTest, TambrelsKeyCannotBeSwitchedOff) {
    installInSupport("Tambrel.app");
    controller->willSelect();
    row("Tambrel").setValue(RowKey::Active, 0);
    EXPECT_EQ(row("Tambrel").value(RowKey::Active), 0);
    alerts.alerts.clear();
    controller->shouldUnselect();
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, "The hot key for Tambrel cannot be switched off.");
    EXPECT_EQ(text(record("tmbl"), "switchedOn"), "YES");
    EXPECT_EQ(text(record("tmbl"), "keyString"), "F1");
}

// Both sides on one domain: what the pane saves is what the hot-key program registers.
TEST_F(PaneTest, TheHotKeyProgramRegistersWhatThePaneSaved) {
    installMorvane();
    installInSupport("Pirnow.app");
    installInSupport("Tambrel.app");
    alerts.answers = {AlertAnswer::Second};
    controller->willSelect();
    ProductContext& morvane = row("Morvane");
    morvane.setValue(RowKey::Option, 1);
    morvane.setValue(RowKey::Control, 0);
    morvane.setValue(RowKey::Command, 0);
    morvane.setValue(RowKey::Shift, 1);
    morvane.setValue(RowKey::PrincipalKeyChoice, keyIndex("K"));
    row("Pirnow").setValue(RowKey::Active, 0);
    row("Tambrel").setValue(RowKey::PrincipalKeyChoice, keyIndex("F9"));
    controller->shouldUnselect();

    tsyhotkey::test::FakeRegistrar registrar;
    tsyhotkey::test::FakeScriptEngine scripts;
    tsyhotkey::test::FakeWorkspace workspace;
    HotKeyApplication application{registrar};
    AppController program(application, workspace, scripts);
    program.registerEverything();
    EXPECT_NE(registrar.holder({*KeyTable::keyCodeForName("K"), kOptionKeyMask | kShiftKeyMask}),
              0u);
    EXPECT_EQ(program.handle(Product::Pirnow), 0u) << "switched off";
    EXPECT_NE(registrar.holder({*KeyTable::keyCodeForName("F9"), 0}), 0u);
    EXPECT_EQ(registrar.grabs.size(), 2u);
}
