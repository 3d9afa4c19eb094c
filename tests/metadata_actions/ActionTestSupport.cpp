#include "tests/metadata_actions/ActionTestSupport.h"

#include "platform/PathText.h"

#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

namespace morvane::test {

std::u16string applyAction(BaseRenameAction& action, const std::string& path,
                           const std::u16string& name, FileManager* files) {
    InputContext input;
    input.inputPath = path;
    input.currentName = name;
    input.fileManager = files ? files : &FileManager::instance();
    OutputContext output;
    action.executeWithInputContext(input, output);
    return output.newName;
}

std::u16string applyAction(BaseRenameAction& action, const std::string& path, FileManager* files) {
    return applyAction(action, path, PathText::displayNameOfPath(path), files);
}

ScopedEnvironment::ScopedEnvironment(const char* key, const std::string& value) : key_(key) {
    if (const char* old = std::getenv(key))
        saved_ = old;
    setenv(key, value.c_str(), 1);
    tzset();
}

ScopedEnvironment::~ScopedEnvironment() {
    if (saved_)
        setenv(key_.c_str(), saved_->c_str(), 1);
    else
        unsetenv(key_.c_str());
    tzset();
}

std::string copyOfSample(const TempDir& dir, const std::string& sample, const std::string& name) {
    return dir.write(name, sampleBytes(sample));
}

bool writeId3v2(const std::string& path, const std::map<std::string, std::string>& frames) {
    TagLib::MPEG::File file(path.c_str());
    if (!file.isValid())
        return false;
    file.strip(TagLib::MPEG::File::AllTags);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    for (const auto& [id, text] : frames) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(TagLib::ByteVector(id.c_str()),
                                                                 TagLib::String::UTF8);
        frame->setText(TagLib::String(text, TagLib::String::UTF8));
        tag->addFrame(frame);
    }
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers);
}

bool writeMp4(const std::string& path, const Mp4Tags& tags) {
    TagLib::MP4::File file(path.c_str());
    if (!file.isValid())
        return false;
    TagLib::MP4::Tag* tag = file.tag();
    for (const char* key : {"\251ART", "\251alb", "\251nam", "trkn", "disk"})
        tag->removeItem(key);
    const auto text = [](const std::string& value) {
        return TagLib::MP4::Item(TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
    };
    if (tags.artist)
        tag->setItem("\251ART", text(*tags.artist));
    if (tags.album)
        tag->setItem("\251alb", text(*tags.album));
    if (tags.title)
        tag->setItem("\251nam", text(*tags.title));
    if (tags.track)
        tag->setItem("trkn", TagLib::MP4::Item(tags.track->first, tags.track->second));
    if (tags.disc)
        tag->setItem("disk", TagLib::MP4::Item(tags.disc->first, tags.disc->second));
    return file.save();
}

} // namespace morvane::test
