#include "platform/PathText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace morvane::PathText {
namespace {
constexpr char16_t escapeBase = 0xDC00;

bool isEscapedByte(char16_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

// Where the run of ASCII bytes that begins at i ends, looked at eight bytes at a time.
int32_t asciiRunEnd(const uint8_t* s, int32_t i, int32_t length) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    for (std::uint64_t word = 0; i + 8 <= length; i += 8) {
        std::memcpy(&word, s + i, sizeof word);
        if (word & kHighBits)
            break;
    }
    while (i < length && s[i] < 0x80)
        ++i;
    return i;
}
} // namespace

void appendFromUtf8(std::string_view bytes, std::u16string& out) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const int32_t length = static_cast<int32_t>(bytes.size());
    int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) { // most names are ASCII: a run of it is widened without decoding
            const int32_t end = asciiRunEnd(s, i, length);
            const size_t at = out.size();
            out.resize(at + static_cast<size_t>(end - i));
            std::copy(s + i, s + end, out.data() + at);
            i = end;
            continue;
        }
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            // Escape just the first stray byte; decoding resumes right after it.
            out.push_back(static_cast<char16_t>(escapeBase + s[start]));
            i = start + 1;
            continue;
        }
        if (c <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(U16_LEAD(c));
            out.push_back(U16_TRAIL(c));
        }
    }
}

std::u16string fromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    appendFromUtf8(bytes, out);
    return out;
}

std::optional<std::string> toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        UChar32 c = unit;
        if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            c = U16_GET_SUPPLEMENTARY(unit, text[i + 1]);
            ++i;
        } else if (isEscapedByte(unit)) {
            out.push_back(static_cast<char>(unit - escapeBase));
            continue;
        } else if (U16_IS_SURROGATE(unit)) {
            return std::nullopt;
        }
        uint8_t buffer[4];
        int32_t n = 0;
        [[maybe_unused]] UBool error = false;
        U8_APPEND(buffer, n, 4, c, error);
        out.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
    }
    return out;
}

bool isEncodable(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (!U16_IS_SURROGATE(unit))
            continue;
        if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            ++i;
            continue;
        }
        if (U16_IS_SURROGATE(unit) && !isEscapedByte(unit))
            return false;
    }
    return true;
}

namespace {
template <typename Char> bool isPlain(std::basic_string_view<Char> name) {
    return std::all_of(name.begin(), name.end(), [](Char c) {
        return static_cast<std::make_unsigned_t<Char>>(c) < 0x80 && c != ':';
    });
}
} // namespace

bool isPlainName(std::string_view name) {
    return isPlain(name);
}

bool isPlainName(std::u16string_view name) {
    return isPlain(name);
}

std::u16string displayNameOfPath(std::string_view path) {
    std::u16string name;
    displayNameOfPath(path, name);
    return name;
}

void displayNameOfPath(std::string_view path, std::u16string& name) {
    name.clear();
    const std::string_view stored = lastComponentView(path);
    appendFromUtf8(stored, name);
    if (stored.find(':') != std::string_view::npos) // rare: looked for in the bytes first
        std::replace(name.begin(), name.end(), u':', u'/');
}

std::optional<std::string> fileNameFromDisplayName(std::u16string_view displayName) {
    auto bytes = toUtf8(displayName);
    if (!bytes)
        return std::nullopt;
    for (auto& byte : *bytes)
        if (byte == '/')
            byte = ':';
    return bytes;
}

namespace {
// The text with U+FFFD for each lone surrogate that is not an escaped byte.
std::u16string withHalvesReplaced(std::u16string_view original) {
    std::u16string text(original);
    for (size_t i = 0; i < text.size(); ++i) {
        if (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1]))
            ++i;
        else if (U16_IS_SURROGATE(text[i]) && !isEscapedByte(text[i]))
            text[i] = 0xFFFD;
    }
    return text;
}
} // namespace

std::string storedNameOfDisplayName(std::u16string_view displayName) {
    std::optional<std::string> name = fileNameFromDisplayName(displayName);
    if (!name)
        name = fileNameFromDisplayName(withHalvesReplaced(displayName));
    return std::move(*name);
}

std::string pathOfDisplayName(std::string_view folder, std::u16string_view displayName) {
    return join(folder, storedNameOfDisplayName(displayName));
}

namespace {
std::string_view withoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}
} // namespace

size_t lastSlash(std::string_view text) {
    const void* slash = memrchr(text.data(), '/', text.size());
    return slash ? static_cast<size_t>(static_cast<const char*>(slash) - text.data())
                 : std::string_view::npos;
}

std::string_view lastComponentView(std::string_view path) {
    const std::string_view trimmed = withoutTrailingSlashes(path);
    const auto slash = lastSlash(trimmed);
    return slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string_view folderView(std::string_view path) {
    const std::string_view trimmed = withoutTrailingSlashes(path);
    const auto slash = lastSlash(trimmed);
    if (slash == std::string_view::npos)
        return ".";
    return trimmed.substr(0, slash == 0 ? 1 : slash);
}

std::string lastComponent(const std::string& path) {
    return std::string(lastComponentView(path));
}

std::string folderOf(const std::string& path) {
    return std::string(folderView(path));
}

std::string join(std::string_view folder, std::string_view name) {
    std::string path;
    join(folder, name, path);
    return path;
}

void join(std::string_view folder, std::string_view name, std::string& path) {
    const bool slash = folder.empty() || folder.back() != '/';
    path.clear();
    path.reserve(folder.size() + (slash ? 1 : 0) + name.size());
    path.append(folder);
    if (slash)
        path.push_back('/');
    path.append(name);
}

} // namespace morvane::PathText

namespace morvane {

std::u16string toU16(const std::string& utf8) {
    icu::UnicodeString s = icu::UnicodeString::fromUTF8(utf8);
    return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()),
                          static_cast<size_t>(s.length()));
}

std::string toU8(std::u16string_view utf16) {
    icu::UnicodeString s(utf16.data(), static_cast<int32_t>(utf16.size()));
    std::string out;
    s.toUTF8String(out);
    return out;
}

} // namespace morvane
