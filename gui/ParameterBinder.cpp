#include "gui/ParameterBinder.h"

#include "MRVN7x/actions/BaseAction.h"
#include "platform/Resources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QWidget>

namespace morvane::gui {
namespace {
constexpr const char* kKey = "parameterKey";
constexpr const char* kCommand = "command";

std::string keyOf(const QWidget* control) {
    return control->property(kKey).toString().toStdString();
}

// The integers a menu's items stand for: "itemValues", else their indexes.
std::vector<int> itemValues(const QComboBox* menu) {
    std::vector<int> values;
    for (const QString& value :
         menu->property("itemValues").toString().split(',', Qt::SkipEmptyParts))
        values.push_back(value.trimmed().toInt());
    if (values.empty())
        for (int i = 0; i < menu->count(); ++i)
            values.push_back(i);
    return values;
}

void fillFromResource(QComboBox* menu) {
    const QString resource = menu->property("itemsResource").toString();
    if (resource.isEmpty())
        return;
    const auto list = Resources::plist(resource.toStdString());
    const plist::Array* titles = list ? list->asArray() : nullptr;
    if (!titles)
        return; // a missing resource leaves the menu empty
    menu->clear();
    for (const plist::Value& title : *titles)
        menu->addItem(QString::fromStdString(title.isString() ? *title.asString() : ""));
}
} // namespace

ParameterBinder::ParameterBinder(QWidget* view, BaseAction& action, QObject* parent)
    : QObject(parent), action_(&action), view_(view) {
    for (QWidget* control : view->findChildren<QWidget*>()) {
        const std::string key = keyOf(control);
        const QString command = control->property(kCommand).toString();
        if (!key.empty())
            bindControl(control, key);
        else if (!command.isEmpty())
            bindCommand(control, command);
    }
    for (const auto& [key, control] : controls_)
        action.addObserver(this, key);
    for (const auto& [key, control] : controls_)
        showIn(control, key);
    setBusy(false);
}

ParameterBinder::~ParameterBinder() {
    if (action_)
        action_->removeObserver(this);
}

// Through the key interface, since the chain answers some keys itself.
int ParameterBinder::integerOf(const BaseAction& action, const std::string& key) {
    const auto value = action.valueForKey(key);
    return value ? integerReading(*value) : 0;
}

std::string ParameterBinder::textOf(const BaseAction& action, const std::string& key) {
    const auto value = action.valueForKey(key);
    if (!value)
        return {};
    if (const std::string* text = value->asString())
        return *text;
    return std::to_string(integerReading(*value));
}

std::vector<std::string> ParameterBinder::keysOfView(QWidget* view) {
    std::vector<std::string> keys;
    for (const QWidget* control : view->findChildren<QWidget*>())
        if (const std::string key = keyOf(control); !key.empty())
            keys.push_back(key);
    return keys;
}

void ParameterBinder::bindControl(QWidget* control, const std::string& key) {
    controls_.emplace(key, control);
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        connect(field, &QLineEdit::textEdited, this, [this, key, field](const QString& text) {
            write(key, plist::Value(text.toStdString()));
            if (action_ && field->property("oneCharacter").toBool())
                action_->limitTextFieldInputTo1Character(key);
        });
        // While the user types, the field keeps the typed text; the stored
        // form (a start letter normalised, say) is shown when editing ends.
        connect(field, &QLineEdit::editingFinished, this,
                [this, key, field] { showIn(field, key, true); });
    } else if (auto* number = qobject_cast<QSpinBox*>(control)) {
        connect(number, &QSpinBox::valueChanged, this,
                [this, key](int value) { write(key, plist::Value(value)); });
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        connect(box, &QCheckBox::toggled, this,
                [this, key](bool on) { write(key, plist::Value(on ? 1 : 0)); });
    } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
        connect(radio, &QRadioButton::toggled, this, [this, key, radio](bool on) {
            if (on)
                write(key, plist::Value(radio->property("parameterValue").toInt()));
        });
    } else if (auto* menu = qobject_cast<QComboBox*>(control)) {
        fillFromResource(menu);
        connect(menu, &QComboBox::currentIndexChanged, this, [this, key, menu](int index) {
            const std::vector<int> values = itemValues(menu);
            if (index >= 0 && index < static_cast<int>(values.size()))
                write(key, plist::Value(values[static_cast<size_t>(index)]));
        });
    }
}

void ParameterBinder::bindCommand(QWidget* control, const QString& command) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, command] { emit commandRequested(command, 0); });
    } else if (auto* menu = qobject_cast<QComboBox*>(control)) {
        // A menu of commands (presets): the entry chosen, then back to its title.
        connect(menu, &QComboBox::activated, this, [this, command, menu](int index) {
            if (index > 0)
                emit commandRequested(command, index);
            QSignalBlocker quiet(menu);
            menu->setCurrentIndex(0);
        });
    }
}

void ParameterBinder::setBusy(bool busy) {
    for (auto* bar : view_->findChildren<QProgressBar*>()) {
        if (bar->property("busyKey").isNull())
            continue;
        bar->setRange(0, 0); // an indicator without an end
        bar->setVisible(busy);
    }
}

// A value the control wrote is checked by the action first (it may refuse it
// or change it), then stored; the observer shows what was stored.
void ParameterBinder::write(const std::string& key, plist::Value value) {
    if (showing_ || !action_)
        return;
    auto validated = action_->validatedValueForKey(key, std::move(value));
    if (!validated) {
        show(key); // refused: the control shows the stored value again
        return;
    }
    action_->setValueForKey(key, std::move(*validated));
}

void ParameterBinder::observeValueForKey(const std::string& key, BaseAction&,
                                         const std::optional<plist::Value>&,
                                         const std::optional<plist::Value>&) {
    show(key);
}

void ParameterBinder::show(const std::string& key) {
    auto [first, last] = controls_.equal_range(key);
    for (auto it = first; it != last; ++it)
        showIn(it->second, key);
}

void ParameterBinder::showIn(QWidget* control, const std::string& key, bool evenWhileTyping) {
    if (!action_)
        return;
    const BaseAction& action = *action_;
    const bool wasShowing = std::exchange(showing_, true);
    QSignalBlocker quiet(control);
    const int number = integerOf(action, key);
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        const QString text = QString::fromStdString(textOf(action, key));
        const bool typing =
            !evenWhileTyping && field->hasFocus() && !field->property("oneCharacter").toBool();
        if (field->text() != text && !typing)
            field->setText(text);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(number);
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(number != 0);
    } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
        radio->setChecked(radio->property("parameterValue").toInt() == number);
    } else if (auto* menu = qobject_cast<QComboBox*>(control)) {
        const std::vector<int> values = itemValues(menu);
        const auto at = std::find(values.begin(), values.end(), number);
        menu->setCurrentIndex(at == values.end() ? -1 : static_cast<int>(at - values.begin()));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(QString::fromStdString(textOf(action, key)));
    }
    showing_ = wasShowing;
}

} // namespace morvane::gui
