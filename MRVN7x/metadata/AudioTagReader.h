#pragma once
// The audio tag reader: the tags of an MP3 or MPEG-4 audio file as a small text
// dictionary, read with TagLib.
//
//   "art"       artist, trimmed of white space and line breaks at both ends
//   "alb"       album, trimmed
//   "titl"      song title, trimmed
//   "track"     MP3: from the track text (below); MPEG-4: the track number
//   "numTrack"  MP3: from the track text; MPEG-4: the track count
//   "cd"        disc number, decimal text
//   "numCds"    disc count, decimal text
//
// A key is present exactly when the file has the tag (an empty tag is present
// with an empty text). Files are recognised by the last four characters of the
// path, without regard to case: ".mp3" is MP3, ".m4a", ".m4p" and ".m4b" are
// MPEG-4 audio; every other path gives the empty dictionary, as does a file
// that cannot be read.
//
// MP3: artist, album, title and track text come from the first frame of the
// ID3v2 tag (TPE1, TALB, TIT2, TRCK); a field the ID3v2 tag lacks is taken from
// the ID3v1 tag when that has it. The track text is read from its first decimal
// digit on; the part after the first "/" is the count, but only when something
// follows the "/" ("Track 3/12" gives 3 and 12, "07" gives 07, "5/" gives 5/).
// The disc pair comes from TPOS ("1/2").
//
// MPEG-4: artist, album and title from the items "©ART", "©alb" and "©nam";
// the track and disc pairs from "trkn" and "disk". Of each 16-bit number only
// the low byte is kept, so track 300 reads as 44. That loses information for
// numbers above 255, but names already made with these values depend on it,
// so it stays. A pair value too short to hold the count gives a count of 0.
//
// TagLib may be used from any thread for different files, so the reader is
// called directly on whichever thread asks; it needs no hop to the main thread.
// It keeps no state.
#include "platform/PlistValue.h"

#include <string>

namespace morvane {

class AudioTagReader {
public:
    AudioTagReader() = delete;

    enum class Kind { None, Mp3, Mpeg4Audio };
    static Kind kindOfPath(const std::string& path);

    static plist::Dictionary tagsFor(const std::string& path);

    // The rules for MP3 track texts, applied to an ID3 TRCK text; fills
    // "track" and "numTrack" of tags.
    static void storeTrackText(const std::string& text, plist::Dictionary& tags);

    // Trims white space and line breaks (Unicode's) at both ends of UTF-8 text.
    static std::string trimmed(const std::string& text);
};

} // namespace morvane
