// The whole flow through the real widgets: files dropped on the preview, a
// step chosen in the menu, parameters typed, the new names and the warning
// column, a rename answered in its dialogs, the files renamed on disk.
#include "MRVN7x/actions/ActionList.h"
#include "gui/MorvaneApplication.h"
#include "gui/PreviewModel.h"
#include "gui/PreviewTableView.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

using namespace morvane;
using namespace morvane::gui;

namespace {
QLineEdit* field(QWidget* view, const char* key) {
    for (auto* candidate : view->findChildren<QLineEdit*>())
        if (candidate->property("parameterKey").toString() == key)
            return candidate;
    return nullptr;
}

std::vector<std::string> column(const PreviewModel& model, PreviewModel::Column kind) {
    std::vector<std::string> texts;
    const int at = model.visibleColumn(kind);
    for (int row = 0; at >= 0 && row < model.rowCount(); ++row)
        texts.push_back(model.index(row, at).data().toString().toStdString());
    return texts;
}

struct Window {
    test::TempDir files{"files"};
    test::TempDir settings{"settings"};
    UserDefaults defaults{"net.halvard.mrvn7", settings.path()};
    ActionList registry{defaults};
    MorvaneApplication app{defaults, registry};

    Window() { app.launch({}); }
    MainWindow& window() { return app.window(); }
    void chooseStep(const std::string& name) {
        const int index = registry.popUpMenuIndexForName(name);
        window().actionMenu()->setCurrentIndex(index);
        emit window().actionMenu()->activated(index);
    }
    std::string path(const std::string& name) { return files.path() + "/" + name; }
};
} // namespace

TEST(Window, FromDropToRenamedFilesOnDisk) {
    Window w;
    for (const char* name : {"IMG_0001.jpg", "IMG_0002.jpg", "Holiday 0002.jpg"})
        std::ofstream(w.path(name)) << name;
    emit w.window().previewTable()->filesDropped(
        {QString::fromStdString(w.path("IMG_0001.jpg")),
         QString::fromStdString(w.path("IMG_0002.jpg")),
         QString::fromStdString(w.path("Holiday 0002.jpg"))});
    PreviewModel& model = *w.window().previewModel();
    ASSERT_EQ(model.rowCount(), 3);

    w.chooseStep("Replace text");
    QLineEdit* search = field(w.window().parameterView(), "search term");
    QLineEdit* replacement = field(w.window().parameterView(), "replacement term");
    ASSERT_TRUE(search && replacement);
    QTest::keyClicks(search, "IMG_");
    QTest::keyClicks(replacement, "Holiday ");
    // The preview follows within its refresh: two items now want one name.
    const std::vector<std::string> expected = {"Holiday 0002.jpg", "Holiday 0001.jpg",
                                               "Holiday 0002.jpg"};
    test::waitFor([&] { return column(model, PreviewModel::Column::NewName) == expected; });
    ASSERT_EQ(column(model, PreviewModel::Column::NewName), expected);
    const int warning = model.visibleColumn(PreviewModel::Column::Warning);
    ASSERT_GE(warning, 0);
    for (int row : {0, 1, 2})
        EXPECT_EQ(model.index(row, warning).data(Qt::DecorationRole).isNull(), row == 1);

    // The item in the way leaves the list; the warning column goes with the conflict.
    auto* table = w.window().previewTable();
    table->selectRow(0); // "Holiday 0002.jpg" sorts first
    QTest::keyClick(table, Qt::Key_Delete);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.visibleColumn(PreviewModel::Column::Warning), -1);

    // Confirm the first, rename all the rest: then the existing item stops the
    // second one, which is skipped.
    QStringList seen;
    test::answerModals({"Rename All", "Skip", "OK"}, &seen);
    w.window().applyButton()->click();
    EXPECT_EQ(seen, (QStringList{"ConfirmationDialog", "ConflictResolutionDialog",
                                 "1 file name was changed."}));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(w.path("Holiday 0001.jpg"))));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(w.path("IMG_0002.jpg"))));
    std::ifstream kept(w.path("Holiday 0002.jpg"));
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "Holiday 0002.jpg"); // nothing overwritten

    // Undo from the menu puts the name back.
    ASSERT_TRUE(w.window().undoAction()->isEnabled());
    test::answerModals({"Undo", "OK"}, &seen);
    w.window().undoAction()->trigger();
    EXPECT_EQ(seen.back(), "1 item got its name back.");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(w.path("IMG_0001.jpg"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(w.path("Holiday 0001.jpg"))));
    EXPECT_FALSE(w.window().undoAction()->isEnabled());
}
