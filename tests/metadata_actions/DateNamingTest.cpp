#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/metadata/AddDateToEndAction.h"
#include "MRVN7x/metadata/AddDateToFrontAction.h"
#include "MRVN7x/metadata/DateFormatter.h"
#include "MRVN7x/metadata/PListIndexValueTranslater.h"
#include "MRVN7x/metadata/QLBundleHelper.h"
#include "MRVN7x/metadata/RenameToDateAction.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "tests/metadata_actions/ActionTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace morvane {
namespace {
using test::applyAction;
using test::copyOfSample;
using test::ScopedEnvironment;
using test::TempDir;

constexpr double kUnixToReference = 978307200.0;
constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";

// Seconds since 2001 of a clock time in the current TZ.
double localInstant(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return static_cast<double>(mktime(&fields)) - kUnixToReference;
}

int indexOf(const std::vector<std::string>& table, const std::string& format) {
    const auto at = std::find(table.begin(), table.end(), format);
    return at == table.end() ? -1 : static_cast<int>(at - table.begin());
}

int dateIndex(const std::string& format) {
    return indexOf(DateFormatter::instance().datePatternsArray(), format);
}

int timeIndex(const std::string& format) {
    return indexOf(DateFormatter::instance().timePatternsArray(), format);
}

void setDateParameters(BaseAction& action, int mode, int date, int time, int separator = 0,
                       int uppercase = 1) {
    action.setValueForKey("mode", plist::Value(mode));
    action.setValueForKey("date pattern index", plist::Value(date));
    action.setValueForKey("time pattern index", plist::Value(time));
    action.setValueForKey("separatorMode", plist::Value(separator));
    action.setValueForKey("uppercase am pm", plist::Value(uppercase));
}

// Sets the modification time of path to a clock time in the current TZ.
void setModificationTime(const std::string& path, double referenceSeconds) {
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(referenceSeconds + kUnixToReference);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct EscapeCase {
    const char* pattern;
    const char* expected;
};

TEST(DateFormatter, PercentEscapesInTheCLocale) {
    ScopedEnvironment zone("TZ", "UTC0");
    ScopedEnvironment names("LC_ALL", "C");
    // Sunday 4 March 2007, 10:05:09.250 in the morning.
    const double morning = localInstant(2007, 3, 4, 10, 5, 9) + 0.25;
    const EscapeCase cases[] = {
        {"%Y-%m-%d", "2007-03-04"},
        {"%y%m%d", "070304"},
        {"%e %B %Y", "4 March 2007"},
        {"%d %b", "04 Mar"},
        {"%A %a", "Sunday Sun"},
        {"%j", "063"},
        {"%w", "0"},
        {"%H:%M:%S.%F", "10:05:09.250"},
        {"%I %p", "10 AM"},
        {"%Z %z", "UTC +0000"},
        {"100%% %Q", "100% %Q"},
        {"ends in %", "ends in %"},
        {"été %Y", "été 2007"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(DateFormatter::format(morning, c.pattern), toU16(c.expected));
    }
    // Afternoon and midnight on the 12-hour clock, a day in the 1900s.
    EXPECT_EQ(DateFormatter::format(localInstant(2007, 3, 4, 15, 0, 0), "%I.%M %p"), u"03.00 PM");
    EXPECT_EQ(DateFormatter::format(localInstant(2007, 3, 4, 0, 30, 0), "%I.%M %p"), u"12.30 AM");
    EXPECT_EQ(DateFormatter::format(localInstant(1998, 1, 1, 0, 0, 0), "%Y %y %e"), u"1998 98 1");
}

TEST(DateFormatter, MenuTitlesShowTheirFormats) {
    // Every title shows what its format makes of Sunday 4 March 2007,
    // 10:05:09 in the morning (some add a note in parentheses).
    ScopedEnvironment zone("TZ", "UTC0");
    ScopedEnvironment names("LC_ALL", "C");
    const double morning = localInstant(2007, 3, 4, 10, 5, 9);
    auto action = makeAction<RenameToDateAction>();
    const auto& formatter = DateFormatter::instance();
    const std::pair<const std::vector<std::string>*, const std::vector<std::string>*> tables[] = {
        {&formatter.datePatternsArray(), &action->dateMenuItems()},
        {&formatter.timePatternsArray(), &action->timeMenuItems()},
    };
    for (const auto& [formats, titles] : tables) {
        ASSERT_GT(formats->size(), 5u);
        ASSERT_EQ(formats->size(), titles->size());
        EXPECT_EQ((*formats)[0], "");
        for (size_t i = 1; i < formats->size(); ++i) {
            SCOPED_TRACE((*formats)[i]);
            const std::string shown = toU8(*DateFormatter::format(morning, (*formats)[i]));
            const std::string& title = (*titles)[i];
            EXPECT_TRUE(title == shown || title.rfind(shown + " (", 0) == 0) << title;
        }
    }
}

TEST(DateFormatter, OffersTheUsualPhotoFormats) {
    ScopedEnvironment zone("TZ", "UTC0");
    ScopedEnvironment names("LC_ALL", "C");
    const double morning = localInstant(2007, 3, 4, 10, 5, 9);
    const auto& formatter = DateFormatter::instance();
    std::set<std::u16string> dates, times;
    for (size_t i = 1; i < formatter.datePatternsArray().size(); ++i)
        dates.insert(*formatter.formatDate(morning, static_cast<int>(i), 0));
    for (size_t i = 1; i < formatter.timePatternsArray().size(); ++i)
        times.insert(*formatter.formatDate(morning, 0, static_cast<int>(i), 0, true));
    for (const char16_t* date : {u"2007-03-04", u"20070304", u"04.03.2007", u"03-04-07",
                                 u"4 March 2007", u"Sunday 4 March 2007"})
        EXPECT_TRUE(dates.count(date)) << toU8(date);
    for (const char16_t* time : {u"10.05", u"10-05-09", u"1005", u"10h05", u"10.05 AM"})
        EXPECT_TRUE(times.count(time)) << toU8(time);
}

struct SeparatorCase {
    int mode;
    const char16_t* expected;
};

TEST(DateFormatter, TwelveSeparatorModes) {
    ScopedEnvironment zone("TZ", kBerlin);
    const double morning = localInstant(2007, 3, 4, 10, 5, 9);
    const int iso = dateIndex("%Y-%m-%d");
    const int dotted = timeIndex("%H.%M");
    const SeparatorCase cases[] = {
        {0, u"2007-03-04 10.05"}, {1, u"2007-03-0410.05"},   {2, u"2007-03-04-10.05"},
        {3, u"2007-03-04_10.05"}, {4, u"2007-03-04/10.05"},  {5, u"2007-03-04.10.05"},
        {6, u"10.05 2007-03-04"}, {7, u"10.052007-03-04"},   {8, u"10.05-2007-03-04"},
        {9, u"10.05_2007-03-04"}, {10, u"10.05/2007-03-04"}, {11, u"10.05.2007-03-04"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(DateFormatter::instance().formatDate(morning, iso, dotted, c.mode, true),
                  std::u16string(c.expected));
    }
    EXPECT_EQ(DateFormatter::instance().formatDate(morning, iso, dotted, 12, true), std::nullopt);
    EXPECT_EQ(DateFormatter::instance().formatDate(morning, iso, dotted, -1, true), std::nullopt);
}

TEST(DateFormatter, LeftOutPartsAndLowerCase) {
    ScopedEnvironment zone("TZ", kBerlin);
    ScopedEnvironment names("LC_ALL", "C");
    const double afternoon = localInstant(2007, 3, 4, 22, 5, 9);
    const auto& formatter = DateFormatter::instance();
    const int iso = dateIndex("%Y-%m-%d");
    const int twelve = timeIndex("%I.%M %p");
    EXPECT_EQ(formatter.formatDate(afternoon, 0, 0, 3, true), u"");
    EXPECT_EQ(formatter.formatDate(afternoon, iso, 0, 6, false), u"2007-03-04");
    // Only the time: the separator mode plays no part, not even an invalid one.
    EXPECT_EQ(formatter.formatDate(afternoon, 0, twelve, 99, true), u"10.05 PM");
    EXPECT_EQ(formatter.formatDate(afternoon, 0, twelve, 4, false), u"10.05 pm");
    // The short form: separator 0, time lower-cased.
    EXPECT_EQ(formatter.formatDate(afternoon, iso, twelve), u"2007-03-04 10.05 pm");
    // Indices outside the tables name no format.
    const int dates = static_cast<int>(formatter.datePatternsArray().size());
    EXPECT_EQ(formatter.formatDate(afternoon, dates, 1, 0, true), std::nullopt);
    EXPECT_EQ(formatter.formatDate(afternoon, 1, -1, 0, true), std::nullopt);
}

TEST(DateFormatter, FollowsTheTimeZoneOfTheMoment) {
    const double instant = [] {
        ScopedEnvironment zone("TZ", "UTC0");
        return localInstant(2007, 7, 4, 12, 0, 0);
    }();
    const std::pair<const char*, const char16_t*> zones[] = {
        {"UTC0", u"12.00"}, {kBerlin, u"14.00"}, {kNewYork, u"08.00"}};
    for (const auto& [zone, expected] : zones) {
        ScopedEnvironment scoped("TZ", zone);
        EXPECT_EQ(DateFormatter::format(instant, "%H.%M"), expected) << zone;
    }
}

TEST(DateFormatter, ReadsTzAfreshWithoutBeingTold) {
    ScopedEnvironment zone("TZ", "UTC0");
    const double instant = localInstant(2007, 7, 4, 12, 0, 0);
    EXPECT_EQ(DateFormatter::format(instant, "%H.%M"), u"12.00");
    setenv("TZ", kBerlin, 1); // no tzset(): the formatter must notice by itself
    EXPECT_EQ(DateFormatter::format(instant, "%H.%M"), u"14.00");
}

// glibc (2.36) does not free its copy of LOCPATH in newlocale(); the leak
// checker is told to look away while a locale is made under LOCPATH.
struct LocalePathLeakAllowance {
#if defined(__SANITIZE_ADDRESS__)
    LocalePathLeakAllowance() {
        __lsan_disable();
    }
    ~LocalePathLeakAllowance() {
        __lsan_enable();
    }
#endif
};

// A locale compiled for this test only, so the test does not depend on the
// locales the machine has installed.
class GermanNames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir("locales");
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + folder_->path() + "/de_DE.UTF-8' >/dev/null 2>&1";
        built_ =
            std::system(command.c_str()) == 0 && test::pathExists(folder_->path() + "/de_DE.UTF-8");
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static TempDir* folder_;
    static bool built_;
};
TempDir* GermanNames::folder_ = nullptr;
bool GermanNames::built_ = false;

TEST_F(GermanNames, MonthAndDayNamesFollowLcTime) {
    if (!built_)
        GTEST_SKIP() << "localedef cannot build de_DE.UTF-8 here";
    [[maybe_unused]] LocalePathLeakAllowance allowance;
    ScopedEnvironment path("LOCPATH", folder_->path());
    ScopedEnvironment zone("TZ", "UTC0");
    ScopedEnvironment all("LC_ALL", "");
    ScopedEnvironment time("LC_TIME", "de_DE.UTF-8");
    const double morning = localInstant(2007, 3, 4, 10, 5, 9);
    EXPECT_EQ(DateFormatter::format(morning, "%A %e %B %Y"), u"Sonntag 4 März 2007");
    EXPECT_EQ(DateFormatter::format(morning, "%a %e %b %Y"), u"So 4 Mär 2007");
    // German has no AM/PM marker; a 12-hour time keeps AM and PM.
    EXPECT_EQ(DateFormatter::format(morning, "%I.%M %p"), u"10.05 AM");
    // The fixed separators of a pattern stay as they are.
    EXPECT_EQ(DateFormatter::format(morning, "%Y-%m-%d"), u"2007-03-04");
    {
        ScopedEnvironment back("LC_TIME", "C");
        EXPECT_EQ(DateFormatter::format(morning, "%A %e %B %Y"), u"Sunday 4 March 2007");
    }
}

TEST(DateNaming, ExifDateOfAPhotographKeepsItsClockTimeInEveryZone) {
    TempDir dir("date");
    // DateTimeOriginal 2008:05:30 15:56:01, DateTime 2008:07:31 10:38:11.
    const std::string photo = copyOfSample(dir, "made/both-dates.jpg", "IMG_0001.jpg");
    std::vector<double> instants;
    for (const char* zone : {kBerlin, kNewYork}) {
        SCOPED_TRACE(zone);
        ScopedEnvironment scoped("TZ", zone);
        FileManager files; // a fresh cache: the EXIF text is read in this zone
        auto action = makeAction<RenameToDateAction>();
        setDateParameters(*action, 2, dateIndex("%Y-%m-%d"), timeIndex("%H.%M.%S"), 3);
        action->setValueForKey("fragmentSelection", plist::Value(1));
        EXPECT_EQ(applyAction(*action, photo, &files), u"2008-05-30_15.56.01.jpg");
        instants.push_back(files.fileEXIFDate(photo));
    }
    // The same clock time in two zones is two different instants, six hours apart.
    EXPECT_DOUBLE_EQ(instants[1] - instants[0], 6 * 3600.0);
}

TEST(DateNaming, SeparatorModesSixAndThreeThroughTheAction) {
    ScopedEnvironment zone("TZ", kBerlin);
    TempDir dir("date");
    const std::string file = dir.write("notes.txt", "text");
    setModificationTime(file, localInstant(2007, 3, 4, 10, 5, 9));
    FileManager files;
    auto action = makeAction<RenameToDateAction>();
    setDateParameters(*action, 1, dateIndex("%Y-%m-%d"), timeIndex("%H.%M"), 6);
    EXPECT_EQ(applyAction(*action, file, &files), u"10.05 2007-03-04");
    action->setValueForKey("separatorMode", plist::Value(3));
    EXPECT_EQ(applyAction(*action, file, &files), u"2007-03-04_10.05");
}

TEST(DateNaming, BothIndicesZero) {
    ScopedEnvironment zone("TZ", kBerlin);
    TempDir dir("date");
    const std::string file = dir.write("notes.txt", "text");
    FileManager files;
    auto rename = makeAction<RenameToDateAction>();
    auto front = makeAction<AddDateToFrontAction>();
    auto end = makeAction<AddDateToEndAction>();
    for (BaseAction* action :
         {static_cast<BaseAction*>(rename.get()), static_cast<BaseAction*>(front.get()),
          static_cast<BaseAction*>(end.get())}) {
        setDateParameters(*action, 1, 0, 0);
        action->setValueForKey("fragmentSelection", plist::Value(1));
    }
    EXPECT_EQ(applyAction(*rename, file, &files), u".txt");
    EXPECT_EQ(applyAction(*front, file, &files), u" notes.txt");
    EXPECT_EQ(applyAction(*end, file, &files), u"notes .txt");
    front->setValueForKey("trailing space", plist::Value(0));
    end->setValueForKey("leading space", plist::Value(0));
    EXPECT_EQ(applyAction(*front, file, &files), u"notes.txt");
    EXPECT_EQ(applyAction(*end, file, &files), u"notes.txt");
}

TEST(DateNaming, DateIndexZeroGivesTheTimeLowerCasedUnlessUppercaseIsOn) {
    ScopedEnvironment zone("TZ", kBerlin);
    ScopedEnvironment names("LC_ALL", "C");
    TempDir dir("date");
    const std::string file = dir.write("scan.png", "not really");
    setModificationTime(file, localInstant(2007, 3, 4, 22, 5, 9));
    FileManager files;
    auto action = makeAction<RenameToDateAction>();
    setDateParameters(*action, 1, 0, timeIndex("%I.%M %p"), 9, 0);
    action->setValueForKey("fragmentSelection", plist::Value(1));
    EXPECT_EQ(applyAction(*action, file, &files), u"10.05 pm.png");
    action->setValueForKey("uppercase am pm", plist::Value(1));
    EXPECT_EQ(applyAction(*action, file, &files), u"10.05 PM.png");
}

TEST(DateNaming, FrontAndEndVariantsWithTheirSpaces) {
    ScopedEnvironment zone("TZ", kBerlin);
    TempDir dir("date");
    const std::string file = dir.write("holiday.jpg", "x");
    setModificationTime(file, localInstant(2007, 3, 4, 10, 5, 9));
    FileManager files;
    auto front = makeAction<AddDateToFrontAction>();
    auto end = makeAction<AddDateToEndAction>();
    setDateParameters(*front, 1, dateIndex("%Y%m%d"), 0);
    setDateParameters(*end, 1, dateIndex("%Y%m%d"), 0);
    front->setValueForKey("fragmentSelection", plist::Value(1));
    end->setValueForKey("fragmentSelection", plist::Value(1));
    EXPECT_EQ(applyAction(*front, file, &files), u"20070304 holiday.jpg");
    EXPECT_EQ(applyAction(*end, file, &files), u"holiday 20070304.jpg");
    front->setValueForKey("trailing space", plist::Value(0));
    end->setValueForKey("leading space", plist::Value(0));
    EXPECT_EQ(applyAction(*front, file, &files), u"20070304holiday.jpg");
    EXPECT_EQ(applyAction(*end, file, &files), u"holiday20070304.jpg");
    // A name that already reads like its date still gets the date.
    EXPECT_EQ(applyAction(*front, file, u"20070304.jpg", &files), u"2007030420070304.jpg");
    EXPECT_EQ(applyAction(*end, file, u"20070304.jpg", &files), u"2007030420070304.jpg");
}

TEST(DateNaming, CreationAndModificationDates) {
    ScopedEnvironment zone("TZ", kBerlin);
    TempDir dir("date");
    const std::string file = dir.write("a.txt", "x");
    setModificationTime(file, localInstant(2003, 11, 30, 23, 59, 58));
    FileManager files;
    auto action = makeAction<RenameToDateAction>();
    setDateParameters(*action, 1, dateIndex("%Y-%m-%d"), timeIndex("%H-%M-%S"), 0);
    EXPECT_EQ(applyAction(*action, file, &files), u"2003-11-30 23-59-58");
    // The creation date is the birth time where the file system keeps one.
    action->setValueForKey("mode", plist::Value(0));
    const auto created = files.fileCreationDate(file);
    ASSERT_TRUE(created);
    EXPECT_EQ(applyAction(*action, file, &files),
              DateFormatter::instance().formatDate(*created, dateIndex("%Y-%m-%d"),
                                                   timeIndex("%H-%M-%S"), 0, true));
}

TEST(DateNaming, ItemsWithoutTheDateKeepTheirNames) {
    TempDir dir("date");
    // PaintTool_sample.jpg has EXIF data but no date in it.
    const std::string photo = copyOfSample(dir, "images/PaintTool_sample.jpg", "painting.jpg");
    const std::string missing = dir / "gone.jpg";
    FileManager files;
    auto rename = makeAction<RenameToDateAction>();
    auto front = makeAction<AddDateToFrontAction>();
    auto end = makeAction<AddDateToEndAction>();
    for (BaseRenameAction* action :
         {static_cast<BaseRenameAction*>(rename.get()), static_cast<BaseRenameAction*>(front.get()),
          static_cast<BaseRenameAction*>(end.get())}) {
        SCOPED_TRACE(action->actionName());
        action->setValueForKey("mode", plist::Value(2));
        EXPECT_EQ(applyAction(*action, photo, &files), u"painting.jpg");
        action->setValueForKey("mode", plist::Value(1));
        EXPECT_EQ(applyAction(*action, missing, &files), u"gone.jpg");
        // A mode outside the four dates, or a pattern outside its table.
        action->setValueForKey("mode", plist::Value(4));
        EXPECT_EQ(applyAction(*action, photo, &files), u"painting.jpg");
        action->setValueForKey("mode", plist::Value(3));
        action->setValueForKey("date pattern index", plist::Value(500));
        EXPECT_EQ(applyAction(*action, photo, &files), u"painting.jpg");
    }
    EXPECT_EQ(files.fileEXIFDate(photo), kDistantPast);
}

TEST(DateNaming, PhotographsWithAndWithoutCaptureDates) {
    ScopedEnvironment zone("TZ", "UTC0");
    TempDir dir("date");
    FileManager files;
    auto action = makeAction<AddDateToFrontAction>();
    setDateParameters(*action, 2, dateIndex("%Y%m%d"), timeIndex("%H%M%S"), 3);
    const struct {
        const char* sample;
        const char* name;
        const char16_t* expected;
    } photos[] = {
        {"made/portrait-mm.jpg", "fuji.jpg", u"20060817_092448 fuji.jpg"},
        {"made/only-written-mm.jpg", "import.jpg", u"20080731_100549 import.jpg"},
        {"made/zero-original.jpg", "zero.jpg", u"20080731_103811 zero.jpg"},
        {"made/blank-original.jpg", "blank.jpg", u"20080731_103811 blank.jpg"},
        {"made/clock-never-set.jpg", "sanyo.jpg", u"19980101_000000 sanyo.jpg"},
        {"made/only-written-mm.tiff", "scan.tiff", u"20120109_225211 scan.tiff"},
        {"made/no-dates.tiff", "plain.tiff", u"plain.tiff"},
        {"images/image.jpg", "jfif.jpg", u"jfif.jpg"},
        {"made/orientation-6.jpg", "turned.jpg", u"turned.jpg"},
        {"images/extracted-APIC_itunes10.png", "cover.png", u"cover.png"},
    };
    for (const auto& photo : photos) {
        SCOPED_TRACE(photo.sample);
        const std::string path = copyOfSample(dir, photo.sample, photo.name);
        EXPECT_EQ(applyAction(*action, path, &files), photo.expected);
    }
}

TEST(DateNaming, NowIsOneInstantForAListAndForEveryPreview) {
    ScopedEnvironment zone("TZ", kBerlin);
    TempDir dir("date");
    FileManager& files = FileManager::instance();
    auto action = makeAction<AddDateToEndAction>();
    setDateParameters(*action, 3, dateIndex("%Y-%m-%d"), timeIndex("%H.%M.%S"), 0);
    action->setValueForKey("fragmentSelection", plist::Value(1));
    action->setValueForKey("leading space", plist::Value(0));
    const std::u16string stamp = *DateFormatter::instance().formatDate(
        files.now(), dateIndex("%Y-%m-%d"), timeIndex("%H.%M.%S"), 0, true);
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i)
        paths.push_back(dir.write("photo" + std::to_string(i) + ".jpg", "x"));
    for (int preview = 0; preview < 2; ++preview) {
        for (size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(applyAction(*action, paths[i], &files),
                      u"photo" + toU16(std::to_string(i)) + stamp + u".jpg");
        // Time passes between the two previews; "now" does not.
        struct timespec pause {
            0, 1100 * 1000 * 1000
        };
        if (preview == 0)
            nanosleep(&pause, nullptr);
    }
}

TEST(DateNaming, ActionsAreRegisteredByName) {
    for (const char* name : {"Rename to date", "Add date to front", "Add date to end"}) {
        auto action = ActionFactory::create(name);
        ASSERT_TRUE(action) << name;
        EXPECT_EQ(action->actionName(), name);
        const auto params = action->parameterList();
        for (const char* key : {"date pattern index", "time pattern index", "uppercase am pm",
                                "mode", "separatorMode", "version", "active", "fragmentSelection"})
            EXPECT_TRUE(plist::find(params, key)) << name << " " << key;
    }
    const auto defaults = makeAction<RenameToDateAction>()->parameterList();
    EXPECT_EQ(*plist::find(defaults, "date pattern index"), plist::Value(1));
    EXPECT_EQ(*plist::find(defaults, "time pattern index"), plist::Value(1));
    EXPECT_EQ(*plist::find(defaults, "uppercase am pm"), plist::Value(1));
    EXPECT_EQ(*plist::find(defaults, "mode"), plist::Value(0));
    EXPECT_EQ(*plist::find(defaults, "separatorMode"), plist::Value(0));
    EXPECT_EQ(*plist::find(makeAction<AddDateToFrontAction>()->parameterList(), "trailing space"),
              plist::Value(1));
    EXPECT_EQ(*plist::find(makeAction<AddDateToEndAction>()->parameterList(), "leading space"),
              plist::Value(1));
}

// Settings saved without "version" use the old numbering of the tables.

TEST(DateMigration, OldTablesDifferAndTheirFormatsLiveOn) {
    const auto oldDates = *QLBundleHelper::findStringArray("datePatterns0");
    const auto oldTimes = *QLBundleHelper::findStringArray("timePatterns0");
    const auto& formatter = DateFormatter::instance();
    int moved = 0;
    for (size_t i = 0; i < oldDates.size(); ++i) {
        const int now = dateIndex(oldDates[i]);
        EXPECT_GE(now, 0) << oldDates[i];
        moved += now != static_cast<int>(i);
    }
    for (size_t i = 0; i < oldTimes.size(); ++i) {
        const int now = timeIndex(oldTimes[i]);
        EXPECT_GE(now, 0) << oldTimes[i];
        moved += now != static_cast<int>(i);
    }
    EXPECT_GT(moved, 4);
    EXPECT_NE(oldDates, formatter.datePatternsArray());
}

TEST(DateMigration, AMigratedSettingShowsTheSameFormat) {
    const auto oldDates = *QLBundleHelper::findStringArray("datePatterns0");
    const auto oldTimes = *QLBundleHelper::findStringArray("timePatterns0");
    const auto& formatter = DateFormatter::instance();
    for (size_t date = 0; date < oldDates.size(); ++date) {
        const size_t time = date % oldTimes.size();
        SCOPED_TRACE(oldDates[date] + " / " + oldTimes[time]);
        auto action = makeAction<RenameToDateAction>();
        action->setParameterList({{"date pattern index", plist::Value(int(date))},
                                  {"time pattern index", plist::Value(int(time))},
                                  {"mode", plist::Value(2)}});
        action->prepareParameters();
        const int newDate = action->getParamInt("date pattern index", -1);
        const int newTime = action->getParamInt("time pattern index", -1);
        ASSERT_GE(newDate, 0);
        ASSERT_GE(newTime, 0);
        EXPECT_EQ(formatter.datePatternsArray()[size_t(newDate)], oldDates[date]);
        EXPECT_EQ(formatter.timePatternsArray()[size_t(newTime)], oldTimes[time]);
        // The migrated setting is saved with the key afterwards.
        EXPECT_EQ(*plist::find(action->parameterList(), "version"), plist::Value(1));
        EXPECT_EQ(*plist::find(action->parameterList(), "mode"), plist::Value(2));
    }
}

TEST(DateMigration, SettingsWithAVersionAndMissingIndicesAreNotTranslated) {
    auto action = makeAction<RenameToDateAction>();
    action->setParameterList({{"date pattern index", plist::Value(2)},
                              {"time pattern index", plist::Value(3)},
                              {"version", plist::Value(1)}});
    EXPECT_EQ(action->getParamInt("date pattern index", -1), 2);
    EXPECT_EQ(action->getParamInt("time pattern index", -1), 3);
    // An old list without the indices leaves the action's own values alone.
    auto other = makeAction<AddDateToFrontAction>();
    other->setParameterList({{"trailing space", plist::Value(0)}});
    EXPECT_EQ(other->getParamInt("date pattern index", -1), 1);
    EXPECT_EQ(other->getParamInt("time pattern index", -1), 1);
    EXPECT_EQ(other->getParamInt("trailing space", -1), 0);
}

TEST(DateMigration, SavedOldSettingsAreMigratedWhenTheRegistryMakesTheAction) {
    TempDir dir("prefs");
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    const auto oldDates = *QLBundleHelper::findStringArray("datePatterns0");
    plist::Dictionary saved = {{"date pattern index", plist::Value(1)},
                               {"time pattern index", plist::Value(1)},
                               {"active", plist::Value(1)}};
    defaults.setObject("actions",
                       plist::Value(plist::Dictionary{{"Add date to end", plist::Value(saved)}}));
    ActionList registry(defaults);
    auto made = registry.newActionForName("Add date to end", nullptr);
    ASSERT_TRUE(made) << made.messageIfFailed();
    auto& action = *made;
    const int index = action->getParamInt("date pattern index", -1);
    EXPECT_EQ(DateFormatter::instance().datePatternsArray()[size_t(index)], oldDates[1]);
    EXPECT_NE(index, 1);
}

TEST(DateMigration, TranslaterKeepsIndicesItCannotTranslate) {
    TempDir bundle("bundle");
    bundle.write("oldStyles.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><string></string><string>%Y</string><string>%d/%m</string></array></plist>)");
    bundle.write("newStyles.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><string></string><string>%Y-%m</string><string>%Y</string></array></plist>)");
    QLBundleHelper::addLoadedBundle(bundle.path());
    EXPECT_EQ(PListIndexValueTranslater::translateIndex(0, "oldStyles", "newStyles"), 0);
    EXPECT_EQ(PListIndexValueTranslater::translateIndex(1, "oldStyles", "newStyles"), 2);
    // No equal entry, an index outside the old list, a list that is missing.
    EXPECT_EQ(PListIndexValueTranslater::translateIndex(2, "oldStyles", "newStyles"), 2);
    EXPECT_EQ(PListIndexValueTranslater::translateIndex(7, "oldStyles", "newStyles"), 7);
    EXPECT_EQ(PListIndexValueTranslater::translateIndex(-1, "oldStyles", "newStyles"), -1);
    std::vector<std::string> log;
    SystemLog::setSink([&log](SystemLog::Level, const std::string& line) { log.push_back(line); });
    EXPECT_EQ(PListIndexValueTranslater::translateIndex(1, "oldStyles", "noSuchList"), 1);
    SystemLog::setSink({});
    // The report names the missing list and every place it was looked for.
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("noSuchList.plist is missing"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find("built into the core library libmrvn7core"), std::string::npos);
    EXPECT_NE(log[0].find("nor in the bundle folders "), std::string::npos);
    EXPECT_NE(log[0].find(bundle.path()), std::string::npos);
    QLBundleHelper::removeLoadedBundle(bundle.path());
    EXPECT_EQ(QLBundleHelper::findPListInBundles("oldStyles"), std::nullopt);
}

TEST(QLBundleHelper, OwnResourcesFirstThenLoadedBundlesInOrder) {
    TempDir first("bundle"), second("bundle");
    first.write("datePatterns.plist", "<plist><array/></plist>");
    first.write("onlyInBundles.plist", "<plist><array><string>first</string></array></plist>");
    second.write("onlyInBundles.plist", "<plist><array><string>second</string></array></plist>");
    second.write("onlyInSecond.plist", "<plist><array><string>2</string></array></plist>");
    QLBundleHelper::addLoadedBundle(first.path());
    QLBundleHelper::addLoadedBundle(second.path());

    const auto own = QLBundleHelper::findPListInBundles("datePatterns");
    ASSERT_TRUE(own);
    EXPECT_EQ(*own, "resource:datePatterns.plist");
    EXPECT_EQ(QLBundleHelper::stringArrayAtPath(*own),
              DateFormatter::instance().datePatternsArray());
    EXPECT_EQ(QLBundleHelper::findPListInBundles("onlyInBundles"), first / "onlyInBundles.plist");
    EXPECT_EQ(QLBundleHelper::findStringArray("onlyInBundles"), std::vector<std::string>{"first"});
    EXPECT_EQ(QLBundleHelper::findPListInBundles("onlyInSecond"), second / "onlyInSecond.plist");
    EXPECT_EQ(QLBundleHelper::findPListInBundles("nowhere"), std::nullopt);
    EXPECT_EQ(QLBundleHelper::findPListInBundles("../onlyInBundles"), std::nullopt);
    EXPECT_EQ(QLBundleHelper::findPListInBundles(""), std::nullopt);
    EXPECT_EQ(QLBundleHelper::plistAtPath("resource:nothing.plist"), std::nullopt);

    QLBundleHelper::removeLoadedBundle(first.path());
    QLBundleHelper::removeLoadedBundle(second.path());
    EXPECT_TRUE(QLBundleHelper::loadedBundles().empty());
}

} // namespace
} // namespace morvane
