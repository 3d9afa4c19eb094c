#pragma once
// Helpers for the action tests: run an action made by the registry's factory
// on one name, and generate names for the property tests.
#include "MRVN7x/actions/ActionFactory.h"
#include "platform/PathText.h"
#include "platform/PlistValue.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>

namespace morvane::test {

// A new action of that name from the factory, with params merged in.
std::unique_ptr<BaseRenameAction> makeNamedAction(const std::string& actionName,
                                                  const plist::Dictionary& params = {});

// The new display name that the action gives the item (name, in path's folder).
std::u16string renamed(BaseRenameAction& action, const std::u16string& name,
                       const std::string& path = "/tmp/folder/item");
// The same for a freshly made action; names and results in UTF-8.
std::string renamed(const std::string& actionName, const plist::Dictionary& params,
                    const std::string& name, const std::string& path = "/tmp/folder/item");

// Readable UTF-16 for failure messages: printable ASCII as is, the rest as \uXXXX.
std::string escaped(const std::u16string& text);

// Random names for the property tests: letters, digits, spaces, dots, every
// NTFS-illegal and control character, accented letters precomposed and
// decomposed, emoji (surrogate pairs), escaped stray bytes, and pieces of
// reserved device names in mixed case.
class NameGenerator {
public:
    explicit NameGenerator(std::uint32_t seed) : random_(seed) {}
    std::u16string next(std::size_t maximumLength = 40);
    std::int64_t number(std::int64_t low, std::int64_t high);

private:
    std::mt19937 random_;
};

} // namespace morvane::test
