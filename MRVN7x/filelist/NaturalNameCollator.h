#pragma once
// The comparison of sorting modes 10 and 11: names ignoring case, runs of
// digits compared by their numeric value (file2 before file10).
//
// One ICU collator (root locale, secondary strength, numeric ordering) is made
// when the object is first used and kept; sorting asks it for one sort key per
// name and then compares bytes, so a sort of n names costs n collator calls,
// not n log n. Without ICU data the collator cannot be made: names then
// compare by their case-folded text and the failure is logged once.
#include <memory>
#include <string>
#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Collator;
U_NAMESPACE_END

namespace morvane {

class NaturalNameCollator {
public:
    NaturalNameCollator();
    ~NaturalNameCollator();
    NaturalNameCollator(const NaturalNameCollator&) = delete;
    NaturalNameCollator& operator=(const NaturalNameCollator&) = delete;

    // Appends the sort key of name to key: keys compare as unsigned bytes in
    // the order of the names.
    void appendSortKey(const std::u16string& name, std::string& key);
    // -1, 0 or 1.
    int compare(const std::u16string& a, const std::u16string& b);

    // A collator for another thread, which must not share this one: the same
    // comparison, made without logging a failure again.
    std::unique_ptr<NaturalNameCollator> forAnotherThread();

private:
    icu::Collator* collator();

    std::unique_ptr<icu::Collator> collator_;
    bool creationFailed_ = false;
};

// Case-folded text as big-endian UTF-16 bytes, so that byte order is the
// order of the folded code units (the comparison of modes 0 and 1).
void appendFoldedNameKey(const std::u16string& name, std::string& key);

} // namespace morvane
