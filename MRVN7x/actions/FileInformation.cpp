#include "MRVN7x/actions/FileInformation.h"

#include "MRVN7x/actions/ActionContext.h"
#include "platform/ReferenceDate.h"

namespace morvane {
namespace {

class NothingKnown final : public FileInformation {
public:
    std::optional<double> fileModificationDate(const std::string&) override { return std::nullopt; }
    std::optional<double> fileCreationDate(const std::string&) override { return std::nullopt; }
    std::int32_t fileLength(const std::string&) override { return 0; }
    double fileEXIFDate(const std::string&) override { return kDistantPast; }
    plist::Dictionary mp3TagsFor(const std::string&) override { return {}; }
    PixelSize fileEXIFDimensions(const std::string&) override { return {}; }
    double now() const override { return currentReferenceSeconds(); }
};

} // namespace

FileInformation& FileInformation::nothingKnown() {
    static NothingKnown none;
    return none;
}

FileInformation& InputContext::files() const {
    return fileManager ? *fileManager : FileInformation::nothingKnown();
}

} // namespace morvane
