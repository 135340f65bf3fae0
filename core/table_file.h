#pragma once
/// \file
/// Table files (*.tbl): the 22016 image bytes without header, and the
/// 3456-byte short form holding the first 3456 bytes. Opening checks the size,
/// that the file opens, the model identity and (full form only) the table
/// checksum, in that order; the outcome is returned, not shown.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/image.h"
#include "core/notifier.h"

namespace zrv {

enum class TableForm { Full, Short };

/// Outcome of checking or loading a table file.
struct TableFileResult {
    bool ok = false;
    TableForm form = TableForm::Full;
    /// The file's size was one of the two forms (a later check may still
    /// have refused it).
    bool sizeAccepted = false;
    /// The message to show when \c ok is false.
    std::optional<Message> message;
};

/// Msg61 "The file size is error !".
Message FileSizeErrorMessage();
/// Msg62 "Open Error ! [FILE]: REASON": Open could not read the file
/// \p fileName, for \p reason in the system's words ("No such file or
/// directory", "Permission denied", "Is a directory"); both in the English
/// text and as the arguments of the catalogue text.
Message OpenErrorMessage(const std::string& fileName, const std::string& reason);
/// Why \p path cannot be opened for reading, in the system's words; empty
/// when it can. A FIFO or a device is not opened to find out.
std::string OpenFailureReason(const std::filesystem::path& path);
/// Msg45 with \p fileName in the English text and as its only argument.
Message NotCorrectFormatMessage(const std::string& fileName);
/// Msg70 "Checksum Error, the file will discard !".
Message ChecksumErrorMessage();
/// Msg57 "Save Error !".
Message SaveErrorMessage();
/// MsgNotRegularFile: a save refused a target that is a device, a FIFO, a
/// folder or a link to one; \p fileName in the English text and as argument.
Message NotARegularFileMessage(const std::string& fileName);
/// MsgFileInUse: another program kept the table file locked; \p fileName in
/// the English text and as argument.
Message FileInUseMessage(const std::string& fileName);

/// The Open checks, without touching any image. With \p checkSize false
/// (the start-up default load) the size is only looked at after opening,
/// but a file of neither form is still refused with Msg61: copying part of
/// an image would leave the rest stale.
TableFileResult CheckTableFile(const std::filesystem::path& path, bool checkSize = true);

/// The size and open checks of Open alone, for looking at a file's bytes as
/// stored: on success \p bytes holds the 22016 or 3456 bytes of the file;
/// its identity and checksum are not checked. On failure \p bytes is left
/// as it was and the result carries Msg61 or Msg62.
TableFileResult ReadStoredTableBytes(const std::filesystem::path& path,
                                     std::vector<std::uint8_t>& bytes);

/// The Open checks, then the copy into \p image (a short file replaces
/// bytes 0x000..0xD7F and keeps the rest as it was), then NormaliseAfterLoad
/// (\p capcodeCount becomes 16). A failed load changes neither argument.
TableFileResult LoadTableFile(const std::filesystem::path& path, ConfigImage& image,
                              int& capcodeCount, bool checkSize = true);

/// Save: ClearUnusedCapcodes, StampIdentityForSave and the table checksum
/// (these change \p image), then the 22016 bytes replace \p path through
/// WriteFileAtomically. Returns MsgNotRegularFile for a target that is not a
/// regular file and Msg57 when the file cannot be written; the previous file
/// and \p image are then left as they were.
std::optional<Message> SaveTableFile(const std::filesystem::path& path, ConfigImage& image,
                                     int capcodeCount);

/// How long a program waits for another that holds a table file locked.
inline constexpr std::chrono::seconds kTableFileLockWait{5};

/// Locks \p path for reading, changing and saving it, so that two programs
/// changing one table file at the same time do not lose a change: held in
/// \p lock until it goes. Returns MsgFileInUse when another program held
/// the file for longer than kTableFileLockWait, MsgNotRegularFile when the
/// name leads to something other than a regular file.
std::optional<Message> LockTableFile(const std::filesystem::path& path, FileLock& lock);

/// The caption naming the current table file: up to and including the
/// first "[" followed by \p path and "]"; without a "[", \p caption followed
/// by " - [", \p path and "]".
std::string CaptionWithTableName(std::string_view caption, std::string_view path);

}  // namespace zrv
