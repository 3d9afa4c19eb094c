// The pane's view over its logic, on Qt's offscreen platform.
#include "PrefPane/PaneView.h"
#include "HotKey/KeyTable.h"
#include "tests/prefpane/PaneTestSupport.h"
#include "tests/support/QtOffscreenEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>

using namespace tessary;
using namespace tessary::test;

namespace {
[[maybe_unused]] const auto* environment =
    ::testing::AddGlobalTestEnvironment(new morvane::test::QtOffscreenEnvironment);

QCheckBox* box(QTableWidget* table, int row, int column) {
    return table->cellWidget(row, column)->findChild<QCheckBox*>();
}
} // namespace

TEST_F(PaneTest, TheTableEditsTheRowsThroughTheObservationRules) {
    installMorvane();
    installInSupport("Pirnow.app");
    writeRecord("mrvn", 15, tsyhotkey::kControlKeyMask, "YES", "R");
    controller->willSelect();
    PaneView view(*controller);
    QTableWidget* table = view.table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), "Morvane");
    EXPECT_EQ(table->item(1, 0)->text(), "Pirnow");
    EXPECT_TRUE(box(table, 0, 2)->isChecked()) << "control";
    EXPECT_FALSE(box(table, 0, 4)->isChecked()) << "command";
    auto* keys = static_cast<QComboBox*>(table->cellWidget(0, 5));
    EXPECT_EQ(keys->count(), 61);
    EXPECT_EQ(keys->currentText(), "R");

    box(table, 0, 2)->click(); // clears the only modifier of a letter
    EXPECT_EQ(alerts.titles(), std::vector<std::string>{"Illegal hot key combination"});
    EXPECT_TRUE(box(table, 0, 2)->isChecked()) << "set back";
    EXPECT_EQ(row("Morvane").value(RowKey::Control), 1);

    keys->setCurrentText("F7");
    box(table, 0, 2)->click();
    EXPECT_EQ(row("Morvane").value(RowKey::Control), 0) << "a function key may stand alone";
    box(table, 1, 6)->click();
    EXPECT_EQ(row("Pirnow").value(RowKey::Active), 0);

    controller->installHotKey(); // willSelect runs again and the view follows
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_TRUE(box(table, 1, 6)->isChecked()) << "rows rebuilt from the records";
}
