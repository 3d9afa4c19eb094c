#pragma once
// The Morvane window: the steps of the chain, the current step's parameters,
// the advanced options, the live preview and the commands. Every control
// calls one controller operation or writes one key; what the user sees comes
// back through the port and the observers.
#include "MRVN7x/actions/KeyValueObserver.h"
#include "MRVN7x/app/WindowLayout.h"
#include "gui/PreviewWindow.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QSplitter;
class QToolButton;
class QPushButton;
class QMenu;

namespace morvane {
class ActionList;
class MainController;
} // namespace morvane

namespace morvane::gui {

class ParameterBinder;
class PreviewModel;
class QLFlexView;
class PreviewTableView;
class QtUserInterfacePort;
class StepListModel;

class MainWindow : public QMainWindow, public KeyValueObserver {
    Q_OBJECT
public:
    MainWindow(MainController& controller, ActionList& registry, QtUserInterfacePort& port);
    ~MainWindow() override;

    // Hooks of the port.
    void switchAction();
    void showMultistepPane();
    void presentPreview(int previewMode);
    WindowFrames windowFrames() const;
    void setWindowFrames(const WindowFrames& frames, std::chrono::milliseconds duration);
    std::optional<int> openPreviewDrawerWidth() const;
    void fadeOut(std::chrono::milliseconds duration);
    // Undo Last Rename is enabled when the journals hold a run to undo.
    void updateUndo();

    // For tests and the program: the pieces a user works with.
    QComboBox* actionMenu() const { return actionMenu_; }
    QWidget* parameterView() const { return parameterView_; }
    QLFlexView* parameterFlexView() const { return parameterFlex_; }
    QWidget* previewDrawer() const { return drawer_; }
    PreviewWindow* previewWindow() const { return previewWindow_; }
    PreviewTableView* previewTable() const { return preview_; }
    PreviewModel* previewModel() const { return previewModel_; }
    QListView* stepList() const { return steps_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* createDropletButton() const { return createDropletButton_; }
    QPushButton* createFileListButton() const { return createFileListButton_; }
    QCheckBox* silentDropletCheckbox() const { return silentDropletCheckbox_; }
    // Launch step 14: the window of a droplet being edited.
    void enterDropletEditMode();
    QAction* undoAction() const { return undoAction_; }

    void observeValueForKey(const std::string& key, BaseAction& object,
                            const std::optional<plist::Value>& oldValue,
                            const std::optional<plist::Value>& newValue) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void buildMenus();
    QWidget* buildStepsPane();
    QWidget* buildEditor();
    QWidget* buildAdvancedOptions();
    QWidget* buildPreviewPane();
    QWidget* buildDrawer();
    void buildPreviewMenu(QMenu* view);
    void placePreview(int previewMode);
    void openDrawer();
    void closeDrawer();
    void animateWidth(int width);
    PreviewWindow& ensurePreviewWindow();
    void previewWindowMoved();
    void previewWindowResized();
    void rememberPreviewPlacement();
    bool justPlaced() const;
    static constexpr int kPlacementSettleMs = 500;
    void growBy(int delta);
    void fillActionMenu();
    void addDroppedFiles(const QStringList& paths);
    void runViewCommand(const QString& command, int argument);
    void selectCurrentStep();
    void updateStatus();
    void updateCommands();
    void addFiles(bool folders);

    MainController& controller_;
    ActionList& registry_;
    QtUserInterfacePort& port_;

    QSplitter* splitter_ = nullptr;
    QWidget* stepsPane_ = nullptr;
    QListView* steps_ = nullptr;
    StepListModel* stepsModel_ = nullptr;
    QToolButton* removeStepButton_ = nullptr;
    QComboBox* actionMenu_ = nullptr;
    QLFlexView* parameterFlex_ = nullptr;
    QLFlexView* optionsFlex_ = nullptr;
    QWidget* previewPane_ = nullptr;
    QWidget* drawer_ = nullptr;
    QPointer<PreviewWindow> previewWindow_;
    int presentedMode_ = -1;
    bool previewPlaced_ = false;
    QPoint previewOffset_; // from the main window's corner, while they move together
    QSize previewSize_;
    QElapsedTimer placedClock_; // since the program last placed the windows
    QList<QAction*> placementActions_;
    QPointer<QWidget> parameterView_;
    std::unique_ptr<ParameterBinder> binder_;
    std::unique_ptr<ParameterBinder> optionsBinder_;
    QWidget* advancedOptions_ = nullptr;
    QToolButton* disclosure_ = nullptr;
    PreviewTableView* preview_ = nullptr;
    PreviewModel* previewModel_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* createDropletButton_ = nullptr;
    QPushButton* createFileListButton_ = nullptr;
    QCheckBox* silentDropletCheckbox_ = nullptr;
    QList<QAction*> normalModeActions_; // menu commands a droplet's editor hides
    QAction* undoAction_ = nullptr;
    QAction* multistepAction_ = nullptr;
    QHash<QString, QAction*> columnToggles_; // by the setting they show
    bool quitting_ = false;
    bool shownOnce_ = false;
    int drawerAddedWidth_ = 0;
};

} // namespace morvane::gui
