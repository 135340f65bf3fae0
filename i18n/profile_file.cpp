#include "i18n/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <unordered_map>

#include "core/atomic_file.h"
#include "core/cp1252.h"

namespace zrv::i18n {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kCrLf = "\r\n";

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

/// One outer pair of matching double or single quotes goes.
std::string_view Unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

/// How one line of a profile reads.
struct LineView {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;   ///< section name or key, trimmed
    std::string_view value;  ///< key's value, trimmed and unquoted
};

LineView ClassifyLine(std::string_view line) {
    LineView view;
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';') return view;
    if (text.front() == '[') {
        const auto close = text.find(']');
        view.kind = LineView::Section;
        view.name = Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos
                                                                        : close - 1));
        return view;
    }
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) return view;
    view.kind = LineView::Key;
    view.name = Trim(text.substr(0, eq));
    view.value = Unquote(Trim(text.substr(eq + 1)));
    return view;
}

/// A line of the file as it is on disk, with its own line end.
struct RawLine {
    std::string text;
    std::string end;  ///< "\r\n", "\n" or "" for a last line without end
};

/// Where the line that starts at \p pos ends and how long its line end is.
/// CR LF, a lone LF and a lone CR each end a line, so reading and writing
/// see the same lines whatever mix of line ends a file has.
struct LineBounds {
    std::size_t textEnd;  ///< one past the line's last character
    std::size_t next;     ///< where the next line starts
};

LineBounds NextLine(std::string_view bytes, std::size_t pos) {
    const auto end = bytes.find_first_of(kCrLf, pos);
    if (end == std::string_view::npos) return {bytes.size(), bytes.size()};
    if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') return {end, end + 2};
    return {end, end + 1};
}

std::vector<RawLine> SplitRawLines(std::string_view bytes) {
    std::vector<RawLine> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const LineBounds b = NextLine(bytes, pos);
        lines.push_back(RawLine{std::string(bytes.substr(pos, b.textEnd - pos)),
                                std::string(bytes.substr(b.textEnd, b.next - b.textEnd))});
        pos = b.next;
    }
    return lines;
}

/// A value as written: CR and LF would start a new line, so they become spaces.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

/// A value as it goes into the file, so that reading gives it back: outer
/// blanks and an outer pair of quotes would be lost to the reading rule, so
/// such a value is written in quotes.
std::string WrittenValue(std::string_view value) {
    if (value.empty()) return {};
    const bool outerBlank = kBlanks.find(value.front()) != std::string_view::npos ||
                            kBlanks.find(value.back()) != std::string_view::npos;
    if (!outerBlank && Unquote(value).size() == value.size()) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

/// The bytes a written key must read back as: CR and LF as spaces.
std::string ExpectedBytes(std::string_view utf8Value) { return OneLine(Utf8ToCp1252(utf8Value)); }

bool IsWritableSection(std::string_view section) {
    if (section.empty() || Trim(section) != section) return false;
    return section.find_first_of("]\r\n") == std::string_view::npos;
}

}  // namespace

bool IsWritableKey(std::string_view key) {
    if (key.empty() || Trim(key) != key) return false;
    if (key.front() == ';' || key.front() == '[') return false;
    return key.find_first_of("=\r\n") == std::string_view::npos;
}

std::string FoldName(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = FoldAscii(c);
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// ---------------------------------------------------------------- ProfileData

ProfileData ProfileData::Parse(std::string_view bytes) {
    ProfileData data;
    // Only the first section of a name and the first key of a name in it are
    // ever read, so later ones are not kept: one pass over the lines, and a
    // file of repeated lines costs no memory per line.
    Section* current = nullptr;  // null before the first section and in a repeated one
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const LineBounds b = NextLine(bytes, pos);
        const std::string_view line = bytes.substr(pos, b.textEnd - pos);
        pos = b.next;
        const LineView view = ClassifyLine(line);
        if (view.kind == LineView::Section) {
            data.sections_.push_back(Section{Cp1252ToUtf8(view.name), {}, {}});
            const bool first =
                data.firstSection_.try_emplace(FoldName(data.sections_.back().name), data.sections_.size() - 1).second;
            current = first ? &data.sections_.back() : nullptr;
        } else if (view.kind == LineView::Key && current && !view.name.empty()) {
            std::string key = Cp1252ToUtf8(view.name);
            if (!current->firstEntry.try_emplace(FoldName(key), current->entries.size()).second) continue;
            current->entries.push_back(Entry{std::move(key), Cp1252ToUtf8(view.value)});
        }
    }
    return data;
}

const ProfileData::Section* ProfileData::firstSection(std::string_view name) const {
    const auto it = firstSection_.find(FoldName(name));
    return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> ProfileData::find(std::string_view section, std::string_view key) const {
    const Section* s = firstSection(section);
    if (!s) return std::nullopt;
    const auto it = s->firstEntry.find(FoldName(key));
    if (it == s->firstEntry.end()) return std::nullopt;
    return s->entries[it->second].value;
}

std::string ProfileData::read(std::string_view section, std::string_view key,
                              std::string_view fallback) const {
    auto value = find(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

std::vector<std::string> ProfileData::sections() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::pair<std::string, std::string>> ProfileData::entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> out;
    const Section* s = firstSection(section);
    if (!s) return out;
    for (const auto& entry : s->entries) out.emplace_back(entry.key, entry.value);
    return out;
}

// ---------------------------------------------------------------- ProfileFile

namespace {

/// True when \p after, the file about to be written, reads every key of
/// \p values in \p section (UTF-8, as the caller named it) as given and every other key of \p before as it
/// was. A file whose lines could be taken in another way than the writer
/// assumed is then never replaced by one that reads differently.
bool ReadsBack(std::string_view before, std::string_view after, std::string_view section,
               const std::vector<std::pair<std::string, std::string>>& values) {
    const ProfileData old = ProfileData::Parse(before);
    const ProfileData now = ProfileData::Parse(after);
    const std::string_view sectionName = section;
    std::unordered_map<std::string, std::string> written;  // folded key -> last value given
    for (const auto& [key, value] : values) written[FoldName(key)] = value;
    for (const auto& [key, value] : values)
        if (now.find(sectionName, key) != Cp1252ToUtf8(ExpectedBytes(written.at(FoldName(key))))) return false;
    std::unordered_map<std::string, bool> seen;
    for (const auto& name : old.sections()) {
        if (!seen.emplace(FoldName(name), true).second) continue;  // only the first section reads
        const bool target = SameName(name, sectionName);
        for (const auto& [key, value] : old.entries(name)) {
            if (target && written.count(FoldName(key))) continue;
            if (now.find(name, key) != value) return false;
        }
    }
    return true;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

bool ProfileFile::exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path_, ec);
}

ProfileData ProfileFile::load() const {
    const FileBytes file = ReadFileBytes(path_);
    return file.state == FileState::Regular ? ProfileData::Parse(file.bytes) : ProfileData{};
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    return load().read(section, key, fallback);
}

bool ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    return writeStrings(section, {{std::string(key), std::string(value)}});
}

bool ProfileFile::writeStrings(std::string_view section,
                               const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string sectionBytes = Utf8ToCp1252(section);
    if (!IsWritableSection(sectionBytes)) return false;
    for (const auto& [key, value] : values)
        if (!IsWritableKey(Utf8ToCp1252(key))) return false;
    if (values.empty()) return true;

    // A file we cannot read (or that is no regular file) is not replaced blindly.
    FileBytes file = ReadFileBytes(path_);
    if (file.state != FileState::Regular && file.state != FileState::Missing) return false;
    const bool existed = file.state == FileState::Regular;
    const std::string original = std::move(file.bytes);
    std::vector<RawLine> lines = SplitRawLines(original);

    // The first section of that name, the first line of each of its keys and
    // its last key line.
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        const LineView v = ClassifyLine(lines[i].text);
        if (v.kind == LineView::Section && SameName(v.name, sectionBytes)) header = i;
    }
    std::unordered_map<std::string, std::size_t> keyLine;
    std::size_t lastKey = header;
    if (header < lines.size()) {
        for (std::size_t i = header + 1; i < lines.size(); ++i) {
            const LineView v = ClassifyLine(lines[i].text);
            if (v.kind == LineView::Section) break;
            if (v.kind != LineView::Key) continue;
            keyLine.emplace(FoldName(v.name), i);
            lastKey = i;
        }
    }

    // Existing keys change in place with their own spelling; new keys go
    // after the section's last key, in the order given.
    std::vector<RawLine> added;
    std::unordered_map<std::string, std::size_t> addedIndex;
    for (const auto& [key, value] : values) {
        const std::string keyBytes = Utf8ToCp1252(key);
        const std::string expected = ExpectedBytes(value);
        const std::string valueBytes = WrittenValue(expected);
        const std::string folded = FoldName(keyBytes);
        if (const auto it = keyLine.find(folded); it != keyLine.end()) {
            // A line that already reads as the value stays as it is, so
            // writing back what was read leaves the file byte for byte.
            RawLine& line = lines[it->second];
            const LineView v = ClassifyLine(line.text);
            if (v.value != expected) line.text = std::string(v.name) + "=" + valueBytes;
        } else if (const auto a = addedIndex.find(folded); a != addedIndex.end()) {
            // Added earlier in this batch: it keeps the spelling it was added with.
            RawLine& line = added[a->second];
            line.text = std::string(ClassifyLine(line.text).name) + "=" + valueBytes;
        } else {
            addedIndex.emplace(folded, added.size());
            added.push_back(RawLine{keyBytes + "=" + valueBytes, std::string(kCrLf)});
        }
    }
    if (!added.empty()) {
        if (header == lines.size()) {
            if (!lines.empty() && lines.back().end.empty()) lines.back().end = kCrLf;
            lines.push_back(RawLine{"[" + sectionBytes + "]", std::string(kCrLf)});
            lines.insert(lines.end(), added.begin(), added.end());
        } else {
            if (lines[lastKey].end.empty()) lines[lastKey].end = kCrLf;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastKey) + 1, added.begin(), added.end());
        }
    }

    std::string out;
    for (const auto& line : lines) {
        out += line.text;
        out += line.end;
    }
    if (out == original && existed) return true;  // nothing changes
    if (!ReadsBack(original, out, section, values)) return false;
    return WriteFileAtomically(path_, out);
}

// ---------------------------------------------------------------- file helpers

FileBytes ReadFileBytes(const std::filesystem::path& path, std::uintmax_t limit) {
    FileBytes result;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        result.state = errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::Unreadable;
        return result;
    }
    // Non-blocking, so that opening a FIFO never waits for a writer; no
    // controlling terminal from a device.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        // A link whose target is gone is there, but resolves to no file.
        result.state = errno == ENOENT ? FileState::NotRegular : FileState::Unreadable;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.state = FileState::Unreadable;
    } else if (!S_ISREG(st.st_mode)) {
        result.state = FileState::NotRegular;
    } else if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        result.state = FileState::TooLarge;
    } else {
        result.state = FileState::Regular;
        result.bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (true) {
            if (got == result.bytes.size()) result.bytes.resize(got + 4096);  // the file may have grown
            const ssize_t n = ::read(fd, result.bytes.data() + got, result.bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                result.state = FileState::Unreadable;
                break;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
            if (got > limit) {
                result.state = FileState::TooLarge;
                break;
            }
        }
        result.bytes.resize(result.state == FileState::Regular ? got : 0);
    }
    ::close(fd);
    return result;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    FileBytes file = ReadFileBytes(path, std::numeric_limits<std::uintmax_t>::max());
    if (file.state != FileState::Regular) return std::nullopt;
    return std::move(file.bytes);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return zrv::WriteFileAtomically(path, bytes) == SaveStatus::Saved;
}

}  // namespace zrv::i18n
