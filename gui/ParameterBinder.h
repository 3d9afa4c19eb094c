#pragma once
// Connects any parameter view to its action through the key interface, in
// both directions. A control names the key it edits with the dynamic property
// "parameterKey"; the kind of control decides the value's type:
//   QLineEdit     text ("oneCharacter": the action keeps one character)
//   QSpinBox      integer
//   QCheckBox     0 or 1
//   QComboBox     integer: the item's index, or its entry in "itemValues"
//                 (comma-separated integers); "itemsResource" names a
//                 property-list resource whose texts are the items
//   QRadioButton  "parameterValue" when checked
//   QLabel        the key's text, shown only
// Buttons and menus with the property "command" report it through
// commandRequested(); a QProgressBar with "busyKey" is the view's busy mark.
#include "MRVN7x/actions/KeyValueObserver.h"

#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <vector>

class QWidget;

namespace morvane {
class BaseAction;
}

namespace morvane::gui {

class ParameterBinder : public QObject, public KeyValueObserver {
    Q_OBJECT
public:
    ParameterBinder(QWidget* view, BaseAction& action, QObject* parent = nullptr);
    ~ParameterBinder() override;

    // The bound action; nullptr once forgotten.
    BaseAction* action() const { return action_; }
    // The action is gone (a step was removed): nothing is read from or written
    // to it any more.
    void forgetAction() { action_ = nullptr; }
    // Shows or hides the view's busy marks.
    void setBusy(bool busy);
    // The keys that the view's controls edit, in the order of the controls.
    static std::vector<std::string> keysOfView(QWidget* view);
    // A key's value through the key interface, as a control shows it.
    static int integerOf(const BaseAction& action, const std::string& key);
    static std::string textOf(const BaseAction& action, const std::string& key);

    void observeValueForKey(const std::string& key, BaseAction& object,
                            const std::optional<plist::Value>& oldValue,
                            const std::optional<plist::Value>& newValue) override;

signals:
    void commandRequested(const QString& command, int argument);

private:
    void bindControl(QWidget* control, const std::string& key);
    void bindCommand(QWidget* control, const QString& command);
    void show(const std::string& key);
    void showIn(QWidget* control, const std::string& key, bool evenWhileTyping = false);
    void write(const std::string& key, plist::Value value);

    BaseAction* action_;
    QWidget* view_;
    std::multimap<std::string, QWidget*> controls_;
    bool showing_ = false; // a value is being shown: control signals write nothing
};

} // namespace morvane::gui
