#include "i18n/profile_file.h"

#include <fstream>
#include <sstream>
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

/// A value as it goes into the file, so that reading gives it back: leading
/// blanks and an outer pair of quotes would be lost to the reading rule, so
/// such a value is written in quotes. Trailing blanks are dropped on reading
/// in any case (a language file's TAB after each text relies on that) and are
/// not kept.
std::string WrittenValue(std::string_view value) {
    const auto last = value.find_last_not_of(kBlanks);
    if (last == std::string_view::npos) return std::string(value);
    const std::string_view kept = value.substr(0, last + 1);
    const bool leadingBlank = kBlanks.find(kept.front()) != std::string_view::npos;
    if (!leadingBlank && Unquote(kept).size() == kept.size()) return std::string(value);
    return "\"" + std::string(kept) + "\"";
}

/// The value a written key must read back as: CR and LF as spaces, trailing
/// blanks gone (UTF-8).
std::string ExpectedReading(std::string_view value) {
    std::string bytes = OneLine(Utf8ToCp1252(value));
    const auto last = bytes.find_last_not_of(kBlanks);
    bytes.resize(last == std::string::npos ? 0 : last + 1);
    return Cp1252ToUtf8(bytes);
}

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
    Section* current = nullptr;  // null before the first section
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const LineBounds b = NextLine(bytes, pos);
        const std::string_view line = bytes.substr(pos, b.textEnd - pos);
        pos = b.next;
        const LineView view = ClassifyLine(line);
        if (view.kind == LineView::Section) {
            data.sections_.push_back(Section{Cp1252ToUtf8(view.name), {}, {}});
            current = &data.sections_.back();
            data.firstSection_.emplace(FoldName(current->name), data.sections_.size() - 1);
        } else if (view.kind == LineView::Key && current && !view.name.empty()) {
            current->entries.push_back(Entry{Cp1252ToUtf8(view.name), Cp1252ToUtf8(view.value)});
            current->firstEntry.emplace(FoldName(current->entries.back().key), current->entries.size() - 1);
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
    for (std::size_t i = 0; i < s->entries.size(); ++i)
        if (s->firstEntry.at(FoldName(s->entries[i].key)) == i)
            out.emplace_back(s->entries[i].key, s->entries[i].value);
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
        if (now.find(sectionName, key) != ExpectedReading(written.at(FoldName(key)))) return false;
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
    const auto bytes = ReadWholeFile(path_);
    return bytes ? ProfileData::Parse(*bytes) : ProfileData{};
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

    std::string original;
    if (exists()) {
        auto bytes = ReadWholeFile(path_);
        if (!bytes) return false;  // a file we cannot read is not replaced blindly
        original = std::move(*bytes);
    }
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
        const std::string valueBytes = WrittenValue(OneLine(Utf8ToCp1252(value)));
        const std::string folded = FoldName(keyBytes);
        if (const auto it = keyLine.find(folded); it != keyLine.end()) {
            RawLine& line = lines[it->second];
            line.text = std::string(ClassifyLine(line.text).name) + "=" + valueBytes;
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
    if (!ReadsBack(original, out, section, values)) return false;
    return WriteFileAtomically(path_, out);
}

// ---------------------------------------------------------------- file helpers

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return ss.str();
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return zrv::WriteFileAtomically(path, bytes) == SaveStatus::Saved;
}

}  // namespace zrv::i18n
