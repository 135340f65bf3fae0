#pragma once
/// \file
/// Table files (*.tbl): the 22016 image bytes without header, and the
/// 3456-byte short form holding the first 3456 bytes. Opening checks the size,
/// that the file opens, the model identity and (full form only) the table
/// checksum, in that order; the outcome is returned, not shown.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
/// Msg62 "Open Error !".
Message OpenErrorMessage();
/// Msg45 with \p fileName in the English text and as its only argument.
Message NotCorrectFormatMessage(const std::string& fileName);
/// Msg70 "Checksum Error, the file will discard !".
Message ChecksumErrorMessage();
/// Msg57 "Save Error !".
Message SaveErrorMessage();

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
/// (these change \p image), then the 22016 bytes are written to a temporary
/// file in the target's folder and renamed over \p path. Returns Msg57 when
/// the file cannot be written; the previous file is then left intact.
std::optional<Message> SaveTableFile(const std::filesystem::path& path, ConfigImage& image,
                                     int capcodeCount);

/// The caption naming the current table file: up to and including the
/// first "[" followed by \p path and "]"; without a "[", \p caption followed
/// by " - [", \p path and "]".
std::string CaptionWithTableName(std::string_view caption, std::string_view path);

}  // namespace zrv
