#pragma once
// Formats dates for the date actions: a date part and a time part, each from a
// percent-escape format of the pattern tables ("datePatterns" and
// "timePatterns"), joined in one of twelve ways.
//
// Format language (one escape per field; any other character is copied):
//   %Y year (at least four digits)  %y year in the century, 00-99
//   %m month 01-12                  %B month name      %b abbreviated month name
//   %d day 01-31                    %e day 1-31        %j day of the year 001-366
//   %A weekday name                 %a abbreviated weekday name
//   %w weekday 0-6, Sunday 0
//   %H hour 00-23                   %I hour 01-12      %p AM or PM
//   %M minute 00-59                 %S second 00-59    %F millisecond 000-999
//   %Z time-zone abbreviation       %z offset from UTC, +hhmm
//   %c %x %X the locale's date and time, date, time  %% a percent sign
// An unknown escape is copied as it stands.
//
// Dates are seconds since 1 January 2001 00:00:00 UTC and are shown in the
// machine's time zone, read afresh from TZ for every date. Month and weekday
// names, the AM/PM marker and %c %x %X follow the LC_TIME locale of the
// environment (LC_ALL, else LC_TIME, else LANG), as it is when the date is
// formatted; a locale without an AM/PM marker gets AM and PM, so that a
// 12-hour time stays unambiguous.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class DateFormatter {
public:
    static constexpr std::int32_t kSeparatorModeCount = 12;

    // The shared formatter over the pattern tables of the resources, loaded once.
    static DateFormatter& instance();

    DateFormatter(std::vector<std::string> datePatterns, std::vector<std::string> timePatterns);

    const std::vector<std::string>& datePatternsArray() const { return datePatterns_; }
    const std::vector<std::string>& timePatternsArray() const { return timePatterns_; }

    // The date part (index into "datePatterns") and the time part (index into
    // "timePatterns") of date, joined by separatorMode: 0-5 date first, 6-11
    // time first, with " ", "", "-", "_", "/" or "." between. Index 0 leaves
    // its part out; when one part is left out the other stands alone, when both
    // are the text is empty. Without uppercase the whole time part is lower-cased.
    // Nothing when an index that is used lies outside its table, when both parts
    // are used and the separator mode is outside 0-11, or when the date cannot
    // be shown in the local time zone.
    std::optional<std::u16string> formatDate(double date, std::int32_t dateIndex,
                                             std::int32_t timeIndex, std::int32_t separatorMode,
                                             bool uppercase) const;
    // Separator mode 0, time part lower-cased.
    std::optional<std::u16string> formatDate(double date, std::int32_t dateIndex,
                                             std::int32_t timeIndex) const;

    // One date in one format; nothing when the date cannot be shown.
    static std::optional<std::u16string> format(double date, const std::string& pattern);

private:
    std::vector<std::string> datePatterns_;
    std::vector<std::string> timePatterns_;
};

} // namespace morvane
