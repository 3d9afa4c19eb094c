#include "gui/MainWindow.h"

#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/lists/RenameFromListAction.h"
#include "MRVN7x/metadata/MP3RenameAction.h"
#include "gui/ParameterBinder.h"
#include "gui/ParameterViews.h"
#include "gui/PreviewModel.h"
#include "gui/PreviewTableView.h"
#include "gui/PreviewWindow.h"
#include "gui/QLFlexView.h"
#include "gui/QtUserInterfacePort.h"
#include "gui/StepListModel.h"
#include "gui/WindowGeometry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvane::gui {
namespace {
constexpr const char* kHelpBase = MainController::kHelpBase;

QLabel* sectionTitle(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

void setKey(QWidget* control, const char* key) {
    control->setProperty("parameterKey", QString::fromLatin1(key));
}
} // namespace

MainWindow::MainWindow(MainController& controller, ActionList& registry, QtUserInterfacePort& port)
    : controller_(controller), registry_(registry), port_(port) {
    setObjectName("MainWindow");
    setWindowTitle(tr("Morvane"));
    setWindowIcon(QIcon::fromTheme("morvane", QIcon(":/morvane/morvane.svg")));
    setAcceptDrops(true);
    buildMenus();
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(buildStepsPane());
    splitter_->addWidget(buildEditor());
    buildPreviewPane();
    splitter_->addWidget(buildDrawer());
    // An open drawer takes every change of the window's width (so it slides
    // in and out); without it the parameters take it.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setStretchFactor(2, 1);
    setCentralWidget(splitter_);
    status_ = new QLabel;
    statusBar()->addWidget(status_, 1);
    resize(730, 540);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                // Coming back to the program brings the preview window up with the main window.
                if (state == Qt::ApplicationActive && previewWindow_ && previewWindow_->isVisible())
                    previewWindow_->raise();
            });
    controller_.compositeAction().addObserver(this, "actionList");
    controller_.compositeAction().addObserver(this, "currentActionIndex");
    for (const char* key : {"discloseAdvancedOptions", "showCurrentName", "showPath"})
        controller_.globalSettings().addObserver(this, key);
}

MainWindow::~MainWindow() {
    controller_.compositeAction().removeObserver(this);
    controller_.globalSettings().removeObserver(this);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(QIcon::fromTheme("document-open"), tr("&Add Files…"), QKeySequence::Open, this,
                    [this] { addFiles(false); });
    file->addAction(QIcon::fromTheme("folder-open"), tr("Add &Folder…"),
                    QKeySequence(tr("Ctrl+Shift+O")), this, [this] { addFiles(true); });
    file->addAction(QIcon::fromTheme("edit-clear"), tr("&Clear List"), QKeySequence(tr("Ctrl+L")),
                    this, [this] { controller_.clearList(); });
    file->addSeparator();
    normalModeActions_ << file->addAction(QIcon::fromTheme("document-save-as"),
                                          tr("&Save File List…"), QKeySequence::Save, this,
                                          [this] { controller_.createFileList(); });
    normalModeActions_ << file->addAction(QIcon::fromTheme("document-save"), tr("Create &Droplet…"),
                                          QKeySequence(tr("Ctrl+D")), this,
                                          [this] { controller_.createDroplet(); });
    file->addSeparator();
    QAction* rename = file->addAction(QIcon::fromTheme("edit-rename"), tr("&Rename"), this, [this] {
        controller_.applyButDontQuit();
        updateUndo();
    });
    rename->setShortcuts({QKeySequence(tr("Ctrl+R")), QKeySequence(tr("Ctrl+Return"))});
    normalModeActions_ << rename;
    file->addSeparator();
    file->addAction(QIcon::fromTheme("application-exit"), tr("&Quit"), QKeySequence::Quit, this,
                    &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    undoAction_ = edit->addAction(QIcon::fromTheme("edit-undo"), tr("&Undo Last Rename"),
                                  QKeySequence::Undo, this, [this] {
                                      controller_.undoLastRun();
                                      updateUndo();
                                  });
    // The journals are read when the menu opens, not at every refresh.
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::updateUndo);
    edit->addSeparator();
    edit->addAction(QIcon::fromTheme("list-remove"), tr("&Remove Selected Items"),
                    QKeySequence::Delete, this,
                    [this] { controller_.removeFile(preview_->selectedRowIndexes()); });
    edit->addSeparator();
    edit->addAction(QIcon::fromTheme("list-add"), tr("Add &Step"), QKeySequence(tr("Ctrl+T")), this,
                    [this] { controller_.addAction(); });
    edit->addAction(tr("Remove S&tep"), QKeySequence(tr("Ctrl+Shift+T")), this,
                    [this] { controller_.removeAction(); });
    edit->addAction(tr("Move Step &Up"), QKeySequence(tr("Ctrl+Up")), this,
                    [this] { controller_.nudgeActionUp(); });
    edit->addAction(tr("Move Step &Down"), QKeySequence(tr("Ctrl+Down")), this,
                    [this] { controller_.nudgeActionDown(); });
    edit->addSeparator();
    edit->addAction(QIcon::fromTheme("preferences-system"), tr("&Preferences…"),
                    QKeySequence(tr("Ctrl+,")), this,
                    [this] { controller_.showPreferencesDialog(); });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    multistepAction_ = view->addAction(tr("&Steps Pane"));
    multistepAction_->setCheckable(true);
    multistepAction_->setShortcut(QKeySequence(tr("Ctrl+Shift+S")));
    connect(multistepAction_, &QAction::triggered, this, [this](bool on) {
        controller_.globalSettings().setValueForKey("multistep", plist::Value(on ? 1 : 0));
    });
    auto columnToggle = [this, view](const QString& title, const char* key) {
        QAction* toggle = view->addAction(title);
        columnToggles_.insert(QString::fromLatin1(key), toggle);
        toggle->setCheckable(true);
        toggle->setChecked(controller_.globalSettings().getParamInt(key, 0) != 0);
        connect(toggle, &QAction::triggered, this, [this, key](bool on) {
            controller_.globalSettings().setValueForKey(key, plist::Value(on ? 1 : 0));
        });
    };
    columnToggle(tr("&Current Names"), "showCurrentName");
    columnToggle(tr("&Folders"), "showPath");
    buildPreviewMenu(view);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    auto page = [this](const char* name) {
        return [this, name] { port_.openHelpPage(std::string(kHelpBase) + name); };
    };
    help->addAction(QIcon::fromTheme("help-contents"), tr("Morvane &Help"),
                    QKeySequence::HelpContents, this, page("index.html"));
    help->addAction(tr("&Multi-Step Renaming"), this, page("multi-step.html"));
    help->addAction(tr("&Rename Mechanisms"), this, page("rename-mechanisms.html"));
    help->addAction(tr("&Installation"), this, page("installation.html"));
    help->addAction(tr("&Contact"), this, page("contact.html"));
    help->addSeparator();
    help->addAction(QIcon::fromTheme("help-about"), tr("&About Morvane"), this, [this] {
        QMessageBox::about(
            this, tr("About Morvane"),
            tr("<h3>Morvane %1</h3><p>Renames many files and folders at once: build a chain of "
               "steps, watch every new name in the preview, rename safely.</p><p>Nothing is "
               "ever overwritten, and every run can be undone.</p><p>Licensed under the GNU "
               "General Public License, version 2 or later.</p>")
                .arg(QApplication::applicationVersion()));
    });
}

QWidget* MainWindow::buildStepsPane() {
    stepsPane_ = new QWidget;
    stepsPane_->setObjectName("StepsPane");
    auto* layout = new QVBoxLayout(stepsPane_);
    layout->setContentsMargins(8, 8, 4, 8);
    layout->addWidget(sectionTitle(tr("Steps")));
    stepsModel_ = new StepListModel(controller_.compositeAction(), this);
    steps_ = new QListView;
    steps_->setModel(stepsModel_);
    steps_->setSelectionMode(QAbstractItemView::SingleSelection);
    steps_->setMinimumWidth(190);
    connect(steps_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() &&
                    current.row() != controller_.compositeAction().getCurrentActionIndexAsInt())
                    controller_.compositeAction().setCurrentActionIndex(current.row());
            });
    connect(stepsModel_, &QAbstractItemModel::dataChanged, this,
            [this] { controller_.initiateDelayedPreviewUpdate(); });
    layout->addWidget(steps_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    // The theme's icon where the desktop has one, else a short text: a button
    // is never blank.
    auto button = [this, buttons](const char* icon, const QString& text, const QString& tip,
                                  auto command) {
        auto* b = new QToolButton;
        const QIcon themed = QIcon::fromTheme(icon);
        if (themed.isNull())
            b->setText(text);
        else
            b->setIcon(themed);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, command);
        buttons->addWidget(b);
        return b;
    };
    button("list-add", "+", tr("Add a step after this one"), [this] { controller_.addAction(); });
    removeStepButton_ = button("list-remove", QString::fromUtf8("\u2212"), tr("Remove this step"),
                               [this] { controller_.removeAction(); });
    button("go-up", QString::fromUtf8("\u2191"), tr("Move this step up"),
           [this] { controller_.nudgeActionUp(); });
    button("go-down", QString::fromUtf8("\u2193"), tr("Move this step down"),
           [this] { controller_.nudgeActionDown(); });
    buttons->addStretch();
    button("edit-clear-all", tr("Keep Only This"), tr("Keep only this step"),
           [this] { controller_.clearActions(); });
    layout->addLayout(buttons);
    return stepsPane_;
}

QWidget* MainWindow::buildEditor() {
    auto* editor = new QWidget;
    editor->setObjectName("Editor");
    auto* layout = new QVBoxLayout(editor);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    actionMenu_ = new QComboBox;
    actionMenu_->setObjectName("ActionMenu");
    actionMenu_->setMaxVisibleItems(30);
    fillActionMenu();
    connect(actionMenu_, &QComboBox::activated, this, [this](int index) {
        if (index != controller_.compositeAction().transientActionIndex())
            (void)controller_.compositeAction().setTransientActionIndex(index); // logged
    });
    auto* actionLabel = new QLabel(tr("&Action:"));
    actionLabel->setBuddy(actionMenu_);
    form->addRow(actionLabel, actionMenu_);
    // The part of the name the step works on, for whichever step is current.
    auto* fragment = new QComboBox;
    fragment->addItems({tr("Whole name"), tr("Name without extension"),
                        tr("Extension without the dot"), tr("Extension with the dot")});
    setKey(fragment, "fragmentSelection");
    auto* fragmentLabel = new QLabel(tr("A&pply to:"));
    fragmentLabel->setBuddy(fragment);
    auto* fragmentRow = new QWidget;
    auto* fragmentLayout = new QHBoxLayout(fragmentRow);
    fragmentLayout->setContentsMargins(0, 0, 0, 0);
    fragmentLayout->addWidget(fragment);
    form->addRow(fragmentLabel, fragmentRow);
    layout->addLayout(form);
    new ParameterBinder(fragmentRow, controller_.compositeAction(), this);

    // The parameters take the height they need; the window grows or shrinks with them.
    parameterFlex_ = new QLFlexView;
    parameterFlex_->setMinimumWidth(420);
    parameterFlex_->setWindowResizer([this](int delta) { growBy(delta); });
    layout->addWidget(parameterFlex_);
    layout->addWidget(buildAdvancedOptions());
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    createFileListButton_ = new QPushButton(tr("Save File &List…"));
    connect(createFileListButton_, &QPushButton::clicked, this,
            [this] { controller_.createFileList(); });
    buttons->addWidget(createFileListButton_);
    createDropletButton_ = new QPushButton(tr("Create &Droplet…"));
    createDropletButton_->setToolTip(
        tr("Save these steps and options as a droplet that renames what is dropped on it"));
    connect(createDropletButton_, &QPushButton::clicked, this,
            [this] { controller_.createDroplet(); });
    buttons->addWidget(createDropletButton_);
    buttons->addStretch();
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setToolTip(tr("Close Morvane without renaming"));
    connect(cancel, &QPushButton::clicked, this, [this] { controller_.cancel(); });
    applyButton_ = new QPushButton(tr("&Apply"));
    applyButton_->setToolTip(tr("Rename, and keep the window open"));
    connect(applyButton_, &QPushButton::clicked, this, [this] {
        controller_.applyButDontQuit();
        updateUndo();
    });
    okButton_ = new QPushButton(tr("OK"));
    okButton_->setToolTip(tr("Rename; close the window too if so set in the options"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, [this] {
        controller_.ok();
        updateUndo();
    });
    buttons->addWidget(cancel);
    buttons->addWidget(applyButton_);
    buttons->addWidget(okButton_);
    layout->addLayout(buttons);
    return editor;
}

QWidget* MainWindow::buildAdvancedOptions() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 4, 0, 4);
    disclosure_ = new QToolButton;
    disclosure_->setText(tr("Advanced Options"));
    disclosure_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure_->setCheckable(true);
    disclosure_->setAutoRaise(true);
    layout->addWidget(disclosure_);
    optionsFlex_ = new QLFlexView;
    optionsFlex_->setObjectName("AdvancedOptions");
    optionsFlex_->setWindowResizer([this](int delta) { growBy(delta); });
    advancedOptions_ = new QWidget;
    auto* form = new QFormLayout(advancedOptions_);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* items = new QHBoxLayout;
    const std::pair<QString, const char*> kinds[] = {
        {tr("&Files"), "processFiles"},
        {tr("F&olders"), "processFolders"},
        {tr("Items &inside folders"), "processSubfolders"}};
    for (const auto& [title, key] : kinds) {
        auto* check = new QCheckBox(title);
        setKey(check, key);
        items->addWidget(check);
    }
    items->addStretch();
    form->addRow(tr("Rename:"), items);
    auto* mechanism = new QComboBox;
    mechanism->addItems({tr("Through the file manager"), tr("Move by path"),
                         tr("Rename by name in its folder"), tr("Rename in place (recommended)")});
    setKey(mechanism, "renameMode");
    form->addRow(tr("&Mechanism:"), mechanism);
    auto* confirm = new QCheckBox(tr("&Confirm each new name"));
    setKey(confirm, "interactiveMode");
    auto* summary = new QCheckBox(tr("Show a s&ummary"));
    setKey(summary, "showSummary");
    auto* quit = new QCheckBox(tr("&Quit after renaming (OK)"));
    setKey(quit, "quitAfterRename");
    silentDropletCheckbox_ = new QCheckBox(tr("Create &silent droplets (no dialogs)"));
    setKey(silentDropletCheckbox_, "silentDroplet");
    auto* checks = new QVBoxLayout;
    for (QCheckBox* check : {confirm, summary, quit, silentDropletCheckbox_})
        checks->addWidget(check);
    form->addRow(tr("When renaming:"), checks);
    optionsBinder_ =
        std::make_unique<ParameterBinder>(advancedOptions_, controller_.globalSettings());
    const bool open = controller_.globalSettings().getParamInt("discloseAdvancedOptions", 0) != 0;
    optionsFlex_->setDisclosed(open ? 1 : 0);
    optionsFlex_->setContainedView(advancedOptions_);
    layout->addWidget(optionsFlex_);
    auto disclose = [this](bool open) {
        optionsFlex_->setDisclosed(open ? 1 : 0);
        disclosure_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    };
    disclosure_->setChecked(open);
    disclose(open);
    connect(disclosure_, &QToolButton::toggled, this, [this, disclose](bool on) {
        disclose(on);
        if ((controller_.globalSettings().getParamInt("discloseAdvancedOptions", 0) != 0) != on)
            controller_.globalSettings().setValueForKey("discloseAdvancedOptions",
                                                        plist::Value(on ? 1 : 0));
    });
    return box;
}

QWidget* MainWindow::buildPreviewPane() {
    auto* pane = new QWidget;
    previewPane_ = pane;
    pane->setObjectName("PreviewPane");
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 8, 8, 8);
    previewModel_ = new PreviewModel(controller_, this);
    preview_ = new PreviewTableView;
    preview_->setObjectName("PreviewTable");
    preview_->setModel(previewModel_);
    preview_->setMinimumWidth(420);
    if (controller_.operationMode() == MainController::DropletEdit)
        preview_->setEmptyPicture(":/morvane/DDtablebackground2.svg",
                                  tr("You are editing a droplet: drop files on the droplet to "
                                     "rename them with these settings."));
    else
        preview_->setEmptyPicture(":/morvane/DDtablebackground.svg",
                                  tr("Drop files and folders here, or choose File > Add Files."));
    connect(preview_, &PreviewTableView::filesDropped, this, &MainWindow::addDroppedFiles);
    connect(preview_, &PreviewTableView::removeRequested, this,
            [this](const std::vector<int>& rows) { controller_.removeFile(rows); });
    layout->addWidget(preview_, 1);
    return pane;
}

// The drawer: the preview as a panel on the main window's right edge, that
// slides out with the width it had last and back in when closed.
QWidget* MainWindow::buildDrawer() {
    drawer_ = new QWidget;
    drawer_->setObjectName("PreviewDrawer");
    auto* layout = new QVBoxLayout(drawer_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(4, 8, 8, 0);
    header->addWidget(sectionTitle(tr("Preview")));
    header->addStretch();
    if (WindowGeometry::canPlaceWindows()) {
        auto* close = new QToolButton;
        close->setObjectName("CloseDrawer");
        const QIcon icon = QIcon::fromTheme("window-close");
        if (icon.isNull())
            close->setText(QString::fromUtf8("\u00d7"));
        else
            close->setIcon(icon);
        close->setAutoRaise(true);
        close->setToolTip(tr("Show the preview in a window of its own"));
        close->setAccessibleName(close->toolTip());
        connect(close, &QToolButton::clicked, this, [this] {
            controller_.readPreviewPaneWidth();
            controller_.previewDrawerDidClose();
        });
        header->addWidget(close);
    }
    layout->addLayout(header);
    layout->addWidget(previewPane_, 1);
    drawer_->hide();
    return drawer_;
}

void MainWindow::fillActionMenu() {
    const auto& titles = registry_.popUpMenuItems();
    for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i].empty())
            actionMenu_->insertSeparator(actionMenu_->count()); // keeps the menu's numbering
        else
            actionMenu_->addItem(QString::fromStdString(titles[i]));
    }
}

// The current step's view replaces the last one. A view missing from the
// build is an internal error shown in its place; the window keeps working.
void MainWindow::switchAction() {
    CompositeRenameAction& chain = controller_.compositeAction();
    BaseRenameAction* step = chain.getCurrentAction();
    if (binder_) {
        const auto& steps = chain.getActionDictionaryList();
        const bool stillThere = std::any_of(steps.begin(), steps.end(), [this](const auto& s) {
            return s.get() == binder_->action();
        });
        if (!stillThere)
            binder_->forgetAction();
        binder_.reset();
    }
    QWidget* view = nullptr;
    std::string error;
    if (step)
        view = ParameterViews::create(registry_, step->actionName(), &error);
    if (!view) {
        auto* message = new QLabel(QString::fromStdString(error));
        message->setWordWrap(true);
        message->setAlignment(Qt::AlignCenter);
        view = message;
    } else {
        binder_ = std::make_unique<ParameterBinder>(view, *step);
        connect(binder_.get(), &ParameterBinder::commandRequested, this,
                &MainWindow::runViewCommand);
    }
    view->setContentsMargins(12, 12, 12, 12);
    parameterFlex_->setContainedView(view); // deletes the last view
    parameterView_ = view;
    actionMenu_->setCurrentIndex(chain.transientActionIndex());
    selectCurrentStep();
    // The step takes the keyboard: its first field is ready for typing.
    if (QWidget* first = view->nextInFocusChain(); first && view->isAncestorOf(first))
        first->setFocus();
    updateCommands();
}

void MainWindow::runViewCommand(const QString& command, int argument) {
    BaseAction* step = controller_.compositeAction().getCurrentAction();
    auto* list = dynamic_cast<RenameFromListAction*>(step);
    auto* tags = dynamic_cast<MP3RenameAction*>(step);
    if (command == "help") {
        std::string page = std::string(kHelpBase) + "steps.html";
        if (list)
            page = RenameFromListAction::kHelpAddress;
        else if (tags)
            page = tags->helpPageAddress();
        else if (step && step->actionName() == "Reg Ex Substitution")
            page = std::string(kHelpBase) + "regular-expressions.html";
        port_.openHelpPage(page);
    } else if (command == "selectPreset" && tags) {
        tags->selectPattern(argument);
    } else if (list && (command == "browse" || command == "reload" || command == "clear")) {
        if (command == "browse") {
            const QString path =
                QFileDialog::getOpenFileName(this, tr("Choose a List of Names"), QDir::homePath());
            if (path.isEmpty())
                return;
            binder_->setBusy(true);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            list->browse(pathFromQt(path));
        } else {
            binder_->setBusy(true);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            command == "reload" ? list->reload() : list->clear();
        }
        QApplication::restoreOverrideCursor();
        binder_->setBusy(false);
    }
}

void MainWindow::selectCurrentStep() {
    stepsModel_->refresh();
    const int current = controller_.compositeAction().getCurrentActionIndexAsInt();
    steps_->selectionModel()->setCurrentIndex(stepsModel_->index(current),
                                              QItemSelectionModel::ClearAndSelect);
}

void MainWindow::showMultistepPane() {
    const bool on = controller_.globalSettings().getParamInt("multistep", 0) != 0;
    stepsPane_->setVisible(on);
    multistepAction_->setChecked(on);
}

void MainWindow::presentPreview(int previewMode) {
    placePreview(previewMode);
    previewModel_->refresh();
    QHeaderView* header = preview_->horizontalHeader();
    for (int column = 0; column < previewModel_->columnCount(); ++column) {
        const auto kind = previewModel_->columnKind(column);
        if (kind == PreviewModel::Column::Warning) {
            header->setSectionResizeMode(column, QHeaderView::Fixed);
            preview_->setColumnWidth(column, 28);
        } else {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            preview_->setColumnWidth(column, kind == PreviewModel::Column::Regex1 ? 60 : 220);
        }
    }
    updateStatus();
    updateCommands();
}

void MainWindow::updateStatus() {
    const auto& rows = controller_.previewEntries();
    int changing = 0, conflicts = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        changing += rows.diff(i) ? 1 : 0;
        conflicts += rows.warning(i) ? 1 : 0;
    }
    QString text = rows.size() == 1 ? tr("1 item") : tr("%1 items").arg(rows.size());
    if (!rows.empty())
        text += tr(", %1 to be renamed").arg(changing);
    if (conflicts > 0)
        text += tr(", %1 with the same new name as another").arg(conflicts);
    if (controller_.dynamicFileList().cutOffPointWasActuallyApplied())
        text += tr(" (the preview shows the first items of large folders)");
    status_->setText(text);
}

void MainWindow::updateCommands() {
    removeStepButton_->setEnabled(controller_.compositeAction().count() > 1);
}

void MainWindow::updateUndo() {
    undoAction_->setEnabled(controller_.canUndoLastRun());
}

void MainWindow::addFiles(bool folders) {
    port_.setOpenPanelForFolders(folders);
    controller_.showFileDialog();
}

void MainWindow::addDroppedFiles(const QStringList& paths) {
    std::vector<std::string> added;
    for (const QString& path : paths)
        added.push_back(pathFromQt(path));
    controller_.addFilePaths(added, false);
    controller_.showPreview();
}

void MainWindow::observeValueForKey(const std::string& key, BaseAction&,
                                    const std::optional<plist::Value>&,
                                    const std::optional<plist::Value>&) {
    if (key == "actionList" || key == "currentActionIndex") {
        selectCurrentStep();
        updateCommands();
    } else if (key == "discloseAdvancedOptions") {
        disclosure_->setChecked(controller_.globalSettings().getParamInt(key, 0) != 0);
    } else if (QAction* toggle = columnToggles_.value(QString::fromStdString(key))) {
        toggle->setChecked(controller_.globalSettings().getParamInt(key, 0) != 0);
    }
}

void MainWindow::enterDropletEditMode() {
    setWindowTitle(tr("Editing Rename Droplet"));
    createDropletButton_->hide();
    createFileListButton_->hide();
    applyButton_->hide(); // renaming is for the droplet itself; Save is the one way out
    for (QAction* action : normalModeActions_)
        action->setVisible(false);
    okButton_->setText(tr("Save"));
    okButton_->setToolTip(tr("Save these settings into the droplet and close"));
    silentDropletCheckbox_->setText(tr("Execute as a \"silent\" droplet"));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (controller_.isRunInProgress()) {
        event->ignore();
        return;
    }
    if (!std::exchange(quitting_, true))
        controller_.applicationShouldTerminate();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    addDroppedFiles(paths);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!std::exchange(shownOnce_, true))
        splitter_->setSizes({210, 470, !drawer_->isHidden() ? std::max(width() - 680, 300) : 0});
}

} // namespace morvane::gui
