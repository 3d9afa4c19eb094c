#include "MRVN7x/filelist/NaturalNameCollator.h"

#include "platform/SystemLog.h"

#include <unicode/coll.h>
#include <unicode/unistr.h>

namespace morvane {

NaturalNameCollator::NaturalNameCollator() = default;
NaturalNameCollator::~NaturalNameCollator() = default;

icu::Collator* NaturalNameCollator::collator() {
    if (collator_ || creationFailed_)
        return collator_.get();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> made(
        icu::Collator::createInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status) && made) {
        made->setStrength(icu::Collator::SECONDARY); // case is a tertiary difference
        made->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    }
    if (U_FAILURE(status) || !made) {
        creationFailed_ = true;
        SystemLog::error(std::string("Cannot create the name collator: ") + u_errorName(status));
        return nullptr;
    }
    collator_ = std::move(made);
    return collator_.get();
}

std::unique_ptr<NaturalNameCollator> NaturalNameCollator::forAnotherThread() {
    auto other = std::make_unique<NaturalNameCollator>();
    if (icu::Collator* own = collator())
        other->collator_.reset(own->clone());
    other->creationFailed_ = !other->collator_;
    return other;
}

void NaturalNameCollator::appendSortKey(const std::u16string& name, std::string& key) {
    icu::Collator* c = collator();
    if (!c) {
        appendFoldedNameKey(name, key);
        return;
    }
    const auto* text = reinterpret_cast<const UChar*>(name.data());
    const auto length = static_cast<int32_t>(name.size());
    uint8_t buffer[256];
    int32_t needed = c->getSortKey(text, length, buffer, sizeof buffer);
    if (needed <= static_cast<int32_t>(sizeof buffer)) {
        key.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(needed));
        return;
    }
    std::string large(static_cast<size_t>(needed), '\0');
    needed = c->getSortKey(text, length, reinterpret_cast<uint8_t*>(large.data()), needed);
    key.append(large.data(), static_cast<size_t>(needed));
}

int NaturalNameCollator::compare(const std::u16string& a, const std::u16string& b) {
    std::string keyA, keyB;
    appendSortKey(a, keyA);
    appendSortKey(b, keyB);
    const int result = keyA.compare(keyB);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void appendFoldedNameKey(const std::u16string& name, std::string& key) {
    icu::UnicodeString folded(name.data(), static_cast<int32_t>(name.size()));
    folded.foldCase(U_FOLD_CASE_DEFAULT);
    key.reserve(key.size() + static_cast<size_t>(folded.length()) * 2);
    for (int32_t i = 0; i < folded.length(); ++i) {
        const char16_t unit = folded.charAt(i);
        key.push_back(static_cast<char>(unit >> 8));
        key.push_back(static_cast<char>(unit & 0xFF));
    }
}

} // namespace morvane
