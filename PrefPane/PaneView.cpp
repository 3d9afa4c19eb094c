#include "PrefPane/PaneView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tessary {
namespace {
// The table's columns after the name: the flags, then the key pop-up, then "active".
struct FlagColumn {
    int column;
    RowKey key;
    const char* title;
};
constexpr FlagColumn kFlags[] = {{1, RowKey::Option, "Option (Alt)"},
                                 {2, RowKey::Control, "Control"},
                                 {3, RowKey::Shift, "Shift"},
                                 {4, RowKey::Command, "Command (Super)"},
                                 {6, RowKey::Active, "Active"}};
constexpr int kKeyColumn = 5;

QWidget* centred(QWidget* widget) {
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignCenter);
    layout->addWidget(widget);
    return cell;
}
} // namespace

PaneView::PaneView(PaneController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller), table_(new QTableWidget(0, 7, this)),
      state_(new QLabel(this)), install_(new QPushButton(tr("Install Hot Key Component"), this)),
      uninstall_(new QPushButton(tr("Uninstall Hot Key Component"), this)) {
    QStringList titles(table_->columnCount());
    titles[0] = tr("Product");
    for (const FlagColumn& flag : kFlags)
        titles[flag.column] = tr(flag.title);
    titles[kKeyColumn] = tr("Key");
    table_->setHorizontalHeaderLabels(titles);
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* help = new QPushButton(tr("Help"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(state_, 1);
    buttons->addWidget(help);
    buttons->addWidget(uninstall_);
    buttons->addWidget(install_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Hot keys of the Tessary products installed on this computer. "
                                    "Changes take effect when you leave this pane."),
                                 this));
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(install_, &QPushButton::clicked, this, [this] { controller_.installHotKey(); });
    connect(uninstall_, &QPushButton::clicked, this, [this] { controller_.uninstallHotKey(); });
    connect(help, &QPushButton::clicked, this, [this] { controller_.showHotKeyHelp(); });
    controller_.setContentChanged([this] { reload(); });
    reload();
}

PaneView::~PaneView() {
    controller_.setContentChanged({});
}

void PaneView::reload() {
    const auto& rows = controller_.hotKeyData();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row)
        fillRow(row, *rows[static_cast<std::size_t>(row)]);
    const bool installed = controller_.hotKeyIsInstalled();
    state_->setText(installed ? tr("The hot key component is installed.")
                              : tr("The hot key component is not installed."));
    install_->setEnabled(!installed);
    uninstall_->setEnabled(installed);
}

void PaneView::fillRow(int row, ProductContext& context) {
    auto* name = new QTableWidgetItem(QString::fromStdString(context.name()));
    name->setFlags(Qt::ItemIsEnabled);
    table_->setItem(row, 0, name);
    for (const FlagColumn& flag : kFlags) {
        auto* box = new QCheckBox;
        box->setAccessibleName(QString::fromStdString(context.name()) + " " + tr(flag.title));
        connect(box, &QCheckBox::toggled, this,
                [this, row, key = flag.key](bool on) { change(row, key, on ? 1 : 0); });
        table_->setCellWidget(row, flag.column, centred(box));
    }
    auto* keys = new QComboBox;
    for (const std::string& key : PaneController::keyArray())
        keys->addItem(QString::fromStdString(key));
    keys->setAccessibleName(QString::fromStdString(context.name()) + " " + tr("Key"));
    connect(keys, &QComboBox::currentIndexChanged, this,
            [this, row](int index) { change(row, RowKey::PrincipalKeyChoice, index); });
    table_->setCellWidget(row, kKeyColumn, keys);
    showRow(row, context);
}

void PaneView::showRow(int row, const ProductContext& context) {
    for (const FlagColumn& flag : kFlags) {
        auto* box = table_->cellWidget(row, flag.column)->findChild<QCheckBox*>();
        const QSignalBlocker blocker(box);
        box->setChecked(context.value(flag.key) == 1);
    }
    auto* keys = static_cast<QComboBox*>(table_->cellWidget(row, kKeyColumn));
    const QSignalBlocker blocker(keys);
    keys->setCurrentIndex(context.value(RowKey::PrincipalKeyChoice));
}

void PaneView::change(int row, RowKey key, int value) {
    const auto& rows = controller_.hotKeyData();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    ProductContext& context = *rows[static_cast<std::size_t>(row)];
    context.setValue(key, value);
    // The observation rules may have set a modifier back.
    showRow(row, context);
}

} // namespace tessary
