#pragma once
// One product's row of the hot-key table: read from the product's record in
// the hot-key domain, checked while the user edits it, written back when the
// pane is left. Tambrel's context keeps its key switched on.
#include <string>

namespace tessary {

class PaneController;

// The row model: modifier flags and "active" are 0 or 1, principalKeyChoice
// an index into PaneController::keyArray().
struct HotKeyRow {
    std::string name;
    bool activated = true;
    int option = 0;
    int control = 0;
    int shift = 0;
    int command = 0;
    int active = 0;
    int principalKeyChoice = 0;
};

enum class RowKey { Option, Control, Shift, Command, Active, PrincipalKeyChoice };

class ProductContext {
public:
    ProductContext(std::string name, std::string preferencesUrl, PaneController& mainController);
    virtual ~ProductContext() = default;
    ProductContext(const ProductContext&) = delete;
    ProductContext& operator=(const ProductContext&) = delete;

    const std::string& name() const { return name_; }
    const std::string& preferencesUrl() const { return preferencesUrl_; }
    const HotKeyRow& hotKeyTableRowDictionary() const { return row_; }

    // Fills the row from the stored record and starts observing it.
    virtual const HotKeyRow& getHotKeyDictionary();
    // Changes one entry as the table does; the modifiers and the principal
    // key are checked by the observation rules.
    void setValue(RowKey key, int value);
    int value(RowKey key) const;
    // Writes the row as the product's record; an illegal combination is
    // refused with an alert and nothing is written. True when written.
    bool saveNewSettings();
    virtual bool shouldBeActive(bool flag);

protected:
    void observeValueForKeyPath(RowKey key, int oldValue, int newValue);
    PaneController& mainController_;
    HotKeyRow row_;

private:
    int& entry(RowKey key);
    std::string principalKeyName() const;

    std::string name_;
    std::string preferencesUrl_;
    bool observing_ = false;
};

class TMBLProductContext : public ProductContext {
public:
    using ProductContext::ProductContext;
    const HotKeyRow& getHotKeyDictionary() override;
    bool shouldBeActive(bool flag) override;
};

} // namespace tessary
