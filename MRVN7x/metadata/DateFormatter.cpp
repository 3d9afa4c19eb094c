#include "MRVN7x/metadata/DateFormatter.h"

#include "MRVN7x/metadata/QLBundleHelper.h"
#include "platform/PathText.h"
#include "platform/ReferenceDate.h"
#include "platform/SystemLog.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <langinfo.h>
#include <locale.h>
#include <mutex>

namespace morvane {
namespace {

// The joins of the separator modes 0-5; modes 6-11 use the same with the time first.
constexpr const char16_t* kSeparators[] = {u" ", u"", u"-", u"_", u"/", u"."};

std::vector<std::string> patternTable(const std::string& name) {
    if (auto table = QLBundleHelper::findStringArray(name))
        return *table;
    SystemLog::error(QLBundleHelper::missingMessage(name));
    return {};
}

bool validIndex(std::int32_t index, const std::vector<std::string>& table) {
    return index >= 0 && static_cast<std::size_t>(index) < table.size();
}

std::u16string lowercased(const std::u16string& text) {
    icu::UnicodeString unicode(text.data(), static_cast<int32_t>(text.size()));
    unicode.toLower(icu::Locale::getRoot());
    return std::u16string(unicode.getBuffer(), static_cast<std::size_t>(unicode.length()));
}

std::string environmentTimeLocaleName() {
    for (const char* key : {"LC_ALL", "LC_TIME", "LANG"})
        if (const char* value = std::getenv(key); value && *value)
            return value;
    return "C";
}

// The LC_TIME locale of the environment, made again only when its name changes.
class TimeLocale {
public:
    ~TimeLocale() {
        if (locale_)
            freelocale(locale_);
    }

    // Calls use(locale) with the current locale, under the lock.
    template <typename Use> auto with(Use&& use) {
        std::lock_guard lock(mutex_);
        const std::string name = environmentTimeLocaleName();
        if (!locale_ || name != name_) {
            locale_t fresh = newlocale(LC_TIME_MASK, name.c_str(), locale_t(nullptr));
            if (!fresh)
                fresh = newlocale(LC_TIME_MASK, "C", locale_t(nullptr));
            if (locale_)
                freelocale(locale_);
            locale_ = fresh;
            name_ = name;
        }
        return use(locale_);
    }

private:
    std::mutex mutex_;
    std::string name_;
    locale_t locale_ = nullptr;
};

TimeLocale& timeLocale() {
    static TimeLocale shared;
    return shared;
}

// Text in the locale's character set as UTF-16.
std::u16string fromLocaleBytes(const std::string& bytes, locale_t locale) {
    const char* codeset = locale ? nl_langinfo_l(CODESET, locale) : nullptr;
    const std::string set = codeset ? codeset : "";
    if (set.empty() || set == "UTF-8" || set == "ANSI_X3.4-1968")
        return toU16(bytes);
    icu::UnicodeString unicode(bytes.data(), static_cast<int32_t>(bytes.size()), set.c_str());
    if (unicode.isBogus())
        return toU16(bytes);
    return std::u16string(unicode.getBuffer(), static_cast<std::size_t>(unicode.length()));
}

// One strftime field in the locale (names, AM/PM, %c %x %X).
std::u16string localeField(char escape, const std::tm& local, locale_t locale) {
    const char format[] = {'%', escape, '\0'};
    char buffer[256];
    const std::size_t length = locale ? strftime_l(buffer, sizeof buffer, format, &local, locale)
                                      : std::strftime(buffer, sizeof buffer, format, &local);
    return fromLocaleBytes(std::string(buffer, length), locale);
}

// Re-reads the zone when TZ has changed since the last date. (tzset() on every
// date would also look at the zone file each time, which costs more than the
// formatting itself.)
void followTimeZone() {
    static std::mutex mutex;
    static std::optional<std::string> lastSeen;
    static bool first = true;
    const char* zone = std::getenv("TZ");
    std::lock_guard lock(mutex);
    const std::optional<std::string> now = zone ? std::optional<std::string>(zone) : std::nullopt;
    if (!first && now == lastSeen)
        return;
    tzset();
    lastSeen = now;
    first = false;
}

std::u16string number(long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*ld", width, value);
    return toU16(buffer);
}

class PatternWriter {
public:
    PatternWriter(const std::tm& local, long milliseconds, locale_t locale)
        : local_(local), milliseconds_(milliseconds), locale_(locale) {}

    std::u16string write(const std::string& pattern) const {
        std::u16string out;
        std::string literal;
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (pattern[i] != '%' || i + 1 == pattern.size()) {
                literal += pattern[i];
                continue;
            }
            out += toU16(literal);
            literal.clear();
            out += field(pattern[++i]);
        }
        return out + toU16(literal);
    }

private:
    std::u16string field(char escape) const {
        const long year = local_.tm_year + 1900L;
        switch (escape) {
        case 'Y':
            return number(year, 4);
        case 'y':
            return number((year % 100 + 100) % 100, 2);
        case 'm':
            return number(local_.tm_mon + 1, 2);
        case 'd':
            return number(local_.tm_mday, 2);
        case 'e':
            return number(local_.tm_mday, 1);
        case 'j':
            return number(local_.tm_yday + 1, 3);
        case 'w':
            return number(local_.tm_wday, 1);
        case 'H':
            return number(local_.tm_hour, 2);
        case 'I':
            return number(local_.tm_hour % 12 == 0 ? 12 : local_.tm_hour % 12, 2);
        case 'M':
            return number(local_.tm_min, 2);
        case 'S':
            return number(local_.tm_sec, 2);
        case 'F':
            return number(milliseconds_, 3);
        case 'p':
            return dayHalf();
        case 'a':
        case 'A':
        case 'b':
        case 'B':
        case 'c':
        case 'x':
        case 'X':
            return localeField(escape, local_, locale_);
        case 'Z':
            return toU16(local_.tm_zone ? local_.tm_zone : "");
        case 'z':
            return offset();
        case '%':
            return u"%";
        default:
            return std::u16string{u'%', static_cast<char16_t>(static_cast<unsigned char>(escape))};
        }
    }

    std::u16string dayHalf() const {
        std::u16string marker = localeField('p', local_, locale_);
        if (marker.empty())
            marker = local_.tm_hour < 12 ? u"AM" : u"PM";
        return marker;
    }

    std::u16string offset() const {
        const long seconds = local_.tm_gmtoff;
        const long minutes = std::labs(seconds) / 60;
        return (seconds < 0 ? u"-" : u"+") + number(minutes / 60, 2) + number(minutes % 60, 2);
    }

    const std::tm& local_;
    long milliseconds_;
    locale_t locale_;
};

} // namespace

DateFormatter& DateFormatter::instance() {
    static DateFormatter shared(patternTable("datePatterns"), patternTable("timePatterns"));
    return shared;
}

DateFormatter::DateFormatter(std::vector<std::string> datePatterns,
                             std::vector<std::string> timePatterns)
    : datePatterns_(std::move(datePatterns)), timePatterns_(std::move(timePatterns)) {}

std::optional<std::u16string> DateFormatter::format(double date, const std::string& pattern) {
    if (!std::isfinite(date))
        return std::nullopt;
    const double whole = std::floor(date);
    const double unixSeconds = whole + kUnixToReference;
    // Far outside every calendar the C library can show.
    if (std::fabs(unixSeconds) > 1e15)
        return std::nullopt;
    const auto instant = static_cast<std::time_t>(unixSeconds);
    followTimeZone();
    std::tm local{};
    if (!localtime_r(&instant, &local))
        return std::nullopt;
    const long milliseconds = std::lround(std::floor((date - whole) * 1000.0));
    return timeLocale().with([&](locale_t locale) {
        return PatternWriter(local, std::min(milliseconds, 999L), locale).write(pattern);
    });
}

std::optional<std::u16string> DateFormatter::formatDate(double date, std::int32_t dateIndex,
                                                        std::int32_t timeIndex,
                                                        std::int32_t separatorMode,
                                                        bool uppercase) const {
    const bool withDate = dateIndex != 0;
    const bool withTime = timeIndex != 0;
    if ((withDate && !validIndex(dateIndex, datePatterns_)) ||
        (withTime && !validIndex(timeIndex, timePatterns_)))
        return std::nullopt;
    if (!withDate && !withTime)
        return std::u16string();
    std::optional<std::u16string> time;
    if (withTime) {
        time = format(date, timePatterns_[static_cast<std::size_t>(timeIndex)]);
        if (!time)
            return std::nullopt;
        if (!uppercase)
            time = lowercased(*time);
        if (!withDate)
            return time;
    }
    auto day = format(date, datePatterns_[static_cast<std::size_t>(dateIndex)]);
    if (!day || !withTime)
        return day;
    if (separatorMode < 0 || separatorMode >= kSeparatorModeCount)
        return std::nullopt;
    const std::u16string separator = kSeparators[separatorMode % 6];
    return separatorMode < 6 ? *day + separator + *time : *time + separator + *day;
}

std::optional<std::u16string> DateFormatter::formatDate(double date, std::int32_t dateIndex,
                                                        std::int32_t timeIndex) const {
    return formatDate(date, dateIndex, timeIndex, 0, false);
}

} // namespace morvane
