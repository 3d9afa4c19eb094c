#include "MRVN7x/app/DropletHandOver.h"

#include "platform/UserDefaults.h"

#include <random>
#include <thread>
#include <unistd.h>

namespace morvane {
namespace {
using Clock = std::chrono::steady_clock;

std::int64_t secondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string idOf(const plist::Value& record) {
    const plist::Dictionary* dict = record.asDictionary();
    const plist::Value* id = dict ? plist::find(*dict, DropletHandOver::kHandOverId) : nullptr;
    return id && id->asString() ? *id->asString() : std::string();
}

bool isAbandoned(const plist::Value& record) {
    const plist::Dictionary* dict = record.asDictionary();
    const plist::Value* posted = dict ? plist::find(*dict, DropletHandOver::kPosted) : nullptr;
    const auto when = posted ? posted->numberValue() : std::nullopt;
    const std::int64_t age = when ? secondsNow() - *when : 0;
    return !idOf(record).empty() && age > DropletHandOver::kAbandonedAfter.count();
}

bool holdsRecord(const plist::Value* value) {
    return value && value->asDictionary() && !value->asDictionary()->empty();
}

} // namespace

bool DropletHandOver::isUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t extra = c < 0x80           ? 0
                       : (c >> 5) == 0x6  ? 1
                       : (c >> 4) == 0xE  ? 2
                       : (c >> 3) == 0x1E ? 3
                                          : 9;
        if (extra == 9 || i + extra >= text.size())
            return false;
        std::uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

DropletHandOver::DropletHandOver(UserDefaults& domain, std::string key)
    : domain_(domain), key_(std::move(key)) {}

std::string DropletHandOver::newId() {
    std::random_device device;
    return std::to_string(getpid()) + "-" + std::to_string(device()) + "-" +
           std::to_string(device());
}

plist::Dictionary DropletHandOver::makeRecord(const plist::Dictionary& hostSettings,
                                              const std::vector<std::string>& files,
                                              const std::string& settingsPath,
                                              const std::string& id) {
    plist::Dictionary record = hostSettings;
    plist::Array list;
    for (const std::string& file : files) {
        if (isUtf8(file))
            list.emplace_back(file);
        else
            list.emplace_back(plist::Data(file.begin(), file.end()));
    }
    if (!list.empty())
        record[kFileList] = std::move(list);
    record[kSettingsPlistPath] = settingsPath;
    record[kHandOverId] = id;
    record[kPosted] = plist::Value(secondsNow());
    return record;
}

std::vector<std::string> DropletHandOver::fileList(const plist::Dictionary& record) {
    std::vector<std::string> paths;
    const plist::Value* value = plist::find(record, kFileList);
    if (!value || !value->asArray())
        return paths;
    for (const plist::Value& item : *value->asArray()) {
        if (const std::string* text = item.asString(); text && !text->empty())
            paths.push_back(*text);
        else if (const plist::Data* data = item.asData(); data && !data->empty())
            paths.emplace_back(data->begin(), data->end());
    }
    return paths;
}

DropletHandOver::Posting DropletHandOver::post(const plist::Dictionary& record,
                                               std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        bool posted = false;
        const bool written = domain_.update([&](plist::Dictionary& stored) {
            const plist::Value* current = plist::find(stored, key_);
            if (holdsRecord(current) && !isAbandoned(*current))
                return false;
            stored[key_] = record;
            posted = true;
            return true;
        });
        if (!written)
            return Posting::Unwritable;
        if (posted)
            return Posting::Posted;
        if (Clock::now() >= deadline)
            return Posting::Busy;
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool DropletHandOver::takeBack(const std::string& id) {
    bool takenBack = false;
    domain_.update([&](plist::Dictionary& stored) {
        const plist::Value* current = plist::find(stored, key_);
        if (!current || idOf(*current) != id)
            return false;
        stored.erase(key_);
        takenBack = true;
        return true;
    });
    return takenBack;
}

DropletHandOver::Waiting DropletHandOver::waitUntilTaken(const std::string& id,
                                                         std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        bool waiting = false;
        const bool read = domain_.update([&](plist::Dictionary& stored) {
            const plist::Value* current = plist::find(stored, key_);
            waiting = current && idOf(*current) == id;
            return false;
        });
        if (!read)
            return Waiting::Unreadable;
        if (!waiting)
            return Waiting::Taken;
        if (Clock::now() >= deadline)
            return takeBack(id) ? Waiting::TakenBack : Waiting::Taken;
        std::this_thread::sleep_for(kPollInterval);
    }
}

std::optional<plist::Dictionary> DropletHandOver::take(const std::string& id) {
    std::optional<plist::Dictionary> taken;
    domain_.update([&](plist::Dictionary& stored) {
        const plist::Value* current = plist::find(stored, key_);
        if (!current)
            return false;
        if (holdsRecord(current) && idOf(*current) != id)
            return false; // another droplet's record, or one for a window started by hand
        if (holdsRecord(current))
            taken = *current->asDictionary();
        stored.erase(key_);
        return true;
    });
    return taken;
}

} // namespace morvane
