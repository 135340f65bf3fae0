#pragma once
/// \file
/// Windows-style profile (INI) files: the language file `Language.ini`, its
/// factory copy `DefLang.dat`. On disk the files are Windows-1252; in memory
/// every section name, key and value is UTF-8.
///
/// Reading follows the Windows profile rules the catalogue relies on:
/// section and key names compare case-insensitively (ASCII), the first
/// matching section and the first matching key win, the value is trimmed of
/// spaces and tabs and loses one outer pair of matching double or single
/// quotes, a line is a comment only when its first non-blank character is
/// `;`, lines before the first section and lines without `=` are ignored, and
/// a missing file, section or key gives the default. An empty value is
/// returned as empty (it is not a missing key).
///
/// Writing creates the file when it is missing (its folder must exist),
/// updates an existing key in place keeping the key's spelling (a line that
/// already reads as the new value is left as it is), appends a new key after
/// the last key of its section and a new section at the end, writes
/// `key=value` with CR LF line ends, keeps every other line byte for byte, and
/// replaces the file atomically (temporary file, then rename). A value that
/// the reading rule would change (leading or trailing blanks, an outer pair of
/// quotes) is written in quotes, so it reads back exactly as it was given.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zrv::i18n {

/// ASCII case-insensitive equality, the comparison of section and key names.
bool SameName(std::string_view a, std::string_view b);
/// \p name with ASCII letters in lower case, the form names are compared in.
std::string FoldName(std::string_view name);

/// True for a key name that reads back as itself once written: not empty, no
/// `=`, no line break, no outer blanks, not taken for a comment or a section.
bool IsWritableKey(std::string_view key);

/// One parsed copy of a profile file, for operations that read many keys in
/// one go (caption application, the text editor's fill). Texts are UTF-8.
class ProfileData {
public:
    /// An empty profile (as for a missing file).
    ProfileData() = default;
    /// Parses Windows-1252 file contents.
    static ProfileData Parse(std::string_view cp1252Bytes);

    /// The value of \p key in \p section, or nothing when either is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    /// The value of \p key in \p section, or \p fallback when either is missing.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback = {}) const;
    /// Section names in file order (duplicates included, as written).
    std::vector<std::string> sections() const;
    /// The keys of the first section named \p section with their values, in
    /// file order; a key repeated in the section appears once (first wins).
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        /// Folded key -> its first entry, so large files stay fast to read.
        std::unordered_map<std::string, std::size_t> firstEntry;
    };
    const Section* firstSection(std::string_view name) const;
    std::vector<Section> sections_;
    /// Folded section name -> its first section.
    std::unordered_map<std::string, std::size_t> firstSection_;
};

/// A profile file named by its path. Every read goes to the file as it is on
/// disk at that moment; nothing is cached between calls.
class ProfileFile {
public:
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    /// True when the file exists.
    bool exists() const;

    /// Reads and parses the file now; a missing, unreadable or too large
    /// file, or one that is no regular file, gives an empty profile.
    ProfileData load() const;
    /// The value of \p key in \p section read from disk now, or \p fallback.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {}) const;

    /// Writes one key (see the file comment for the rules). CR and LF in the
    /// value become spaces so that a value can never start a new line, key or
    /// section. Returns false, leaving the file as it was, when the file
    /// cannot be written, and without touching it when it is there but no
    /// regular file, too large or unreadable (it is never replaced blindly).
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    /// Writes several keys of one section with a single atomic replacement of
    /// the file, in order; the same rules as writeString for each key.
    bool writeStrings(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& values);

private:
    std::filesystem::path path_;
};

/// Replaces \p path with \p bytes through the program's one atomic writer
/// (zrv::WriteFileAtomically): a failed write never destroys the old file,
/// the replaced file keeps its mode, through a symbolic link the linked file
/// is replaced. False when the file was not written, also when the target is
/// not a regular file.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// The largest language file the program reads: a larger one is refused as
/// a whole (its texts fall back to English) instead of filling the memory.
inline constexpr std::uintmax_t kMaxProfileBytes = 16u * 1024 * 1024;

/// What reading a file found.
enum class FileState {
    Missing,     ///< nothing of that name (not even a symbolic link)
    Regular,     ///< a regular file (or a link to one), read
    NotRegular,  ///< there, but no regular file: a device, FIFO, socket, folder or dangling link
    TooLarge,    ///< a regular file above the limit, not read
    Unreadable,  ///< a regular file that could not be opened or read
};

struct FileBytes {
    FileState state = FileState::Missing;
    std::string bytes;  ///< the contents when the state is Regular
};

/// Reads \p path without ever blocking: the file is opened non-blocking and
/// only read when `fstat` shows a regular file of at most \p limit bytes, so
/// a FIFO or a device named like a file is never waited on or read.
FileBytes ReadFileBytes(const std::filesystem::path& path, std::uintmax_t limit = kMaxProfileBytes);

/// The whole file as bytes, or nothing when it is no regular file or cannot
/// be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace zrv::i18n
