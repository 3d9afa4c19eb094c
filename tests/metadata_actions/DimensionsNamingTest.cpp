#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/metadata/AddDimensionsToEndAction.h"
#include "MRVN7x/metadata/AddDimensionsToFrontAction.h"
#include "MRVN7x/metadata/DimensionsAction.h"
#include "MRVN7x/metadata/RenameToDimensionsAction.h"
#include "platform/PathText.h"
#include "tests/metadata_actions/ActionTestSupport.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {
using test::applyAction;
using test::copyOfSample;
using test::TempDir;

struct FourActions {
    std::unique_ptr<DimensionsAction> add = makeAction<DimensionsAction>();
    std::unique_ptr<DimensionsAction> rename = makeAction<RenameToDimensionsAction>();
    std::unique_ptr<DimensionsAction> front = makeAction<AddDimensionsToFrontAction>();
    std::unique_ptr<DimensionsAction> end = makeAction<AddDimensionsToEndAction>();

    std::vector<DimensionsAction*> all() {
        return {add.get(), rename.get(), front.get(), end.get()};
    }
    void set(const std::string& key, const plist::Value& value) {
        for (DimensionsAction* action : all())
            action->setValueForKey(key, value);
    }
};

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string bigEndian(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string pngChunk(const std::string& type, const std::string& data) {
    return bigEndian(std::uint32_t(data.size())) + type + data + bigEndian(crc32(type + data));
}

// A PNG file of the given size: header, one empty image data chunk and the end
// marker (its pixels are never decoded, only its header is read).
std::string pngOfSize(std::uint32_t width, std::uint32_t height) {
    const std::string header =
        bigEndian(width) + bigEndian(height) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", std::string("\x78\x9c\x03\0\0\0\0\x01", 8)) + pngChunk("IEND", "");
}

TEST(DimensionsNaming, ThePhotographNamedHoliday) {
    TempDir dir("size");
    const std::string photo = dir.write("holiday", pngOfSize(1600, 1200));
    FourActions actions;
    EXPECT_EQ(applyAction(*actions.rename, photo), u"_1600x1200");
    EXPECT_EQ(applyAction(*actions.add, photo), u"_1600x1200");
    EXPECT_EQ(applyAction(*actions.front, photo), u"_1600x1200holiday");
    EXPECT_EQ(applyAction(*actions.end, photo), u"holiday_1600x1200");
}

TEST(DimensionsNaming, DefaultsOnAPhotograph) {
    TempDir dir("size");
    // A JPEG of 100 x 68 pixels with EXIF data.
    const std::string photo = copyOfSample(dir, "made/both-dates.jpg", "holiday");
    FourActions actions;
    EXPECT_EQ(applyAction(*actions.add, photo), u"_100x68");
    EXPECT_EQ(applyAction(*actions.rename, photo), u"_100x68");
    EXPECT_EQ(applyAction(*actions.front, photo), u"_100x68holiday");
    EXPECT_EQ(applyAction(*actions.end, photo), u"holiday_100x68");
}

TEST(DimensionsNaming, ChoicesAndTexts) {
    TempDir dir("size");
    // 59 x 100 pixels (portrait).
    const std::string photo = copyOfSample(dir, "made/portrait-mm.jpg", "p.jpg");
    FourActions actions;
    actions.set("fragmentSelection", plist::Value(1));
    actions.set("firstDimensionChoice", plist::Value(2));
    actions.set("secondDimensionChoice", plist::Value(1));
    EXPECT_EQ(applyAction(*actions.end, photo), u"p_100x59.jpg");
    actions.set("firstDimensionChoice", plist::Value(0));
    actions.set("secondDimensionChoice", plist::Value(0));
    EXPECT_EQ(applyAction(*actions.add, photo), u"_x.jpg");
    EXPECT_EQ(applyAction(*actions.rename, photo), u"_x.jpg");
    EXPECT_EQ(applyAction(*actions.front, photo), u"_xp.jpg");
    EXPECT_EQ(applyAction(*actions.end, photo), u"p_x.jpg");
    actions.set("firstDimensionChoice", plist::Value(7)); // any other value: nothing
    actions.set("secondDimensionChoice", plist::Value(1));
    actions.set("leadingCharacter", plist::Value(" ["));
    actions.set("separationCharacter", plist::Value(" by "));
    actions.set("trailingCharacter", plist::Value(" px]"));
    EXPECT_EQ(applyAction(*actions.end, photo), u"p [ by 59 px].jpg");
    actions.set("firstDimensionChoice", plist::Value(1));
    actions.set("secondDimensionChoice", plist::Value(2));
    EXPECT_EQ(applyAction(*actions.front, photo), u" [59 by 100 px]p.jpg");
}

TEST(DimensionsNaming, EmptiedControlsGiveNoNumbersAndNoTexts) {
    TempDir dir("size");
    const std::string photo = copyOfSample(dir, "made/both-dates.jpg", "a.jpg");
    auto action = makeAction<RenameToDimensionsAction>();
    EXPECT_EQ(applyAction(*action, photo), u"_100x68");
    // An emptied number control stores 0, an emptied text control the empty text.
    for (const char* key : {"firstDimensionChoice", "secondDimensionChoice", "leadingCharacter",
                            "separationCharacter", "trailingCharacter"})
        action->setValueForKey(key, std::nullopt);
    EXPECT_EQ(applyAction(*action, photo), u"");
}

TEST(DimensionsNaming, ImagesOfEveryKind) {
    TempDir dir("size");
    auto action = makeAction<AddDimensionsToEndAction>();
    action->setValueForKey("fragmentSelection", plist::Value(1));
    const struct {
        const char* sample;
        const char* name;
        const char16_t* expected;
    } images[] = {
        {"made/only-written-mm.tiff", "Crémieux11.tiff", u"Crémieux11_199x47.tiff"},
        {"made/no-dates.tiff", "plain.tiff", u"plain_43x54.tiff"},
        {"images/extracted-APIC_itunes10.png", "cover.png", u"cover_48x48.png"},
        {"images/extracted-PICTURE_silence-44-s-flac.png", "dot.png", u"dot_1x1.png"},
        {"made/only-original-mm.jpg", "dc240.jpg", u"dc240_64x48.jpg"},  // not the EXIF 1280 x 960
        {"made/orientation-6.jpg", "turned.jpg", u"turned_45x60.jpg"},   // stored size, not rotated
        {"made/zero-exif-size.jpeg", "lens.jpeg", u"lens_200x133.jpeg"}, // EXIF says 0 x 0
        {"images/PaintTool_sample.jpg", "painting.jpg", u"painting_88x100.jpg"},
        {"images/image.jpg", "image.jpg", u"image_15x15.jpg"},
    };
    for (const auto& image : images) {
        SCOPED_TRACE(image.sample);
        EXPECT_EQ(applyAction(*action, copyOfSample(dir, image.sample, image.name)),
                  image.expected);
    }
}

TEST(DimensionsNaming, ItemsWithoutASizeKeepTheirNames) {
    TempDir dir("size");
    const std::string text = dir.write("notes.txt", "just words\n");
    const std::string fakeImage = dir.write("broken.jpg", "\xFF\xD8\xFF not really a JPEG");
    const std::string song = copyOfSample(dir, "audio/silence-44-s.mp3", "song.mp3");
    const std::string folder = dir.makeFolder("album");
    FourActions actions;
    for (DimensionsAction* action : actions.all()) {
        SCOPED_TRACE(action->actionName());
        for (const std::string& path : {text, fakeImage, song, folder, dir / "missing.png"}) {
            EXPECT_EQ(applyAction(*action, path), PathText::displayNameOfPath(path));
            EXPECT_EQ(action->formattedDimensionsString(path, FileManager::instance()),
                      std::nullopt);
        }
    }
}

TEST(DimensionsNaming, ASecondPreviewIsServedFromTheCache) {
    TempDir dir("size");
    const std::string photo = copyOfSample(dir, "made/clock-never-set.jpg", "dsc.jpg");
    const std::string text = dir.write("notes.txt", "words");
    FileManager& files = FileManager::instance();
    auto action = makeAction<AddDimensionsToEndAction>();
    action->setValueForKey("fragmentSelection", plist::Value(1));
    const auto before = files.readCounts().pixelSizes;
    EXPECT_EQ(applyAction(*action, photo), u"dsc_64x48.jpg");
    EXPECT_EQ(applyAction(*action, text), u"notes.txt");
    EXPECT_EQ(files.readCounts().pixelSizes, before + 2);
    // Replace the files: the cached answers stand until the list is cleared.
    test::TempDir other("size");
    ASSERT_EQ(std::rename(copyOfSample(other, "images/image.jpg", "i.jpg").c_str(), photo.c_str()),
              0);
    EXPECT_EQ(applyAction(*action, photo), u"dsc_64x48.jpg");
    EXPECT_EQ(applyAction(*action, text), u"notes.txt");
    EXPECT_EQ(files.readCounts().pixelSizes, before + 2);
}

TEST(DimensionsNaming, NumbersAreCutTowardsZero) {
    const PixelSize size{1600.9f, 1200.5f};
    EXPECT_EQ(DimensionsAction::numberText(1, size), u"1600");
    EXPECT_EQ(DimensionsAction::numberText(2, size), u"1200");
    EXPECT_EQ(DimensionsAction::numberText(3, size), u"");
    EXPECT_EQ(DimensionsAction::numberText(1, PixelSize{-0.5f, 2}), u"0");
    EXPECT_EQ(DimensionsAction::numberText(1, PixelSize{3e12f, 2}), u"");
}

TEST(DimensionsNaming, ActionsAreRegisteredAndInTheMenu) {
    const std::pair<const char*, const char*> names[] = {
        {"Add dimensions", "Add dimensions"},
        {"Rename to dimensions", "Rename to dimensions"},
        {"Add dimensions to start", "Add dimensions to start"},
        {"Add dimensions to end", "Add dimensions to end"},
    };
    for (const auto& [name, expected] : names) {
        auto action = ActionFactory::create(name);
        ASSERT_TRUE(action) << name;
        EXPECT_EQ(action->actionName(), expected);
        EXPECT_NE(applicationActionList().popUpMenuIndexForName(name), ActionList::kNotFound);
        const auto params = action->parameterList();
        EXPECT_EQ(*plist::find(params, "firstDimensionChoice"), plist::Value(1));
        EXPECT_EQ(*plist::find(params, "secondDimensionChoice"), plist::Value(2));
        EXPECT_EQ(*plist::find(params, "leadingCharacter"), plist::Value("_"));
        EXPECT_EQ(*plist::find(params, "separationCharacter"), plist::Value("x"));
        EXPECT_EQ(*plist::find(params, "trailingCharacter"), plist::Value(""));
    }
    for (const char* name :
         {"Rename to date", "Add date to front", "Add date to end", "MP3 rename"})
        EXPECT_NE(applicationActionList().popUpMenuIndexForName(name), ActionList::kNotFound);
}

} // namespace
} // namespace morvane
