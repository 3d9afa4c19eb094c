#pragma once
// The pane's view: the table of the installed products' hot keys (name, the
// four modifiers, the principal key, active) and the buttons that install,
// remove and explain the hot-key program.
#include "PrefPane/PaneController.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tessary {

class PaneView : public QWidget {
    Q_OBJECT
public:
    explicit PaneView(PaneController& controller, QWidget* parent = nullptr);
    ~PaneView() override;

    // Shows the controller's rows and the installed state again.
    void reload();
    QTableWidget* table() const { return table_; }

private:
    void fillRow(int row, ProductContext& context);
    void showRow(int row, const ProductContext& context);
    void change(int row, RowKey key, int value);

    PaneController& controller_;
    QTableWidget* table_;
    QLabel* state_;
    QPushButton* install_;
    QPushButton* uninstall_;
};

} // namespace tessary
