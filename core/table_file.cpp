#include "core/table_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "core/atomic_file.h"
#include "core/image_layout.h"
#include "core/image_rules.h"

namespace zrv {
namespace L = layout;
namespace fs = std::filesystem;

Message FileSizeErrorMessage() { return {"Msg61", "The file size is error !", MsgIcon::Exclamation, {}}; }
Message OpenErrorMessage(const std::string& fileName, const std::string& reason) {
    return {"Msg62", "Open Error ! [" + fileName + "]: " + reason, MsgIcon::Exclamation, {fileName, reason}};
}
Message NotCorrectFormatMessage(const std::string& fileName) {
    return {"Msg45", "The [" + fileName + "] is not correct format, the file will discard !",
            MsgIcon::Exclamation, {fileName}};
}
Message ChecksumErrorMessage() {
    return {"Msg70", "Checksum Error, the file will discard !", MsgIcon::Exclamation, {}};
}
Message SaveErrorMessage() { return {"Msg57", "Save Error !", MsgIcon::Exclamation, {}}; }
Message NotARegularFileMessage(const std::string& fileName) {
    return {"MsgNotRegularFile", "The [" + fileName + "] is not a regular file, nothing was saved !",
            MsgIcon::Exclamation, {fileName}};
}
Message FileInUseMessage(const std::string& fileName) {
    return {"MsgFileInUse", "The [" + fileName + "] is in use by another program, please try again later !",
            MsgIcon::Exclamation, {fileName}};
}

namespace {

bool isTableSize(std::uintmax_t size) { return size == kImageSize || size == L::kShortTableSize; }

TableFileResult fail(TableFileResult r, Message m) {
    r.ok = false;
    r.message = std::move(m);
    return r;
}

/// Why \p path is no file Open can read, from its status alone (the file is
/// not opened: opening a FIFO would wait for a writer); empty for a regular
/// file.
std::string statusFailure(const fs::path& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec) return ec.message();  // missing, or a folder on the way that may not be searched
    if (fs::is_directory(status)) return std::strerror(EISDIR);
    if (!fs::is_regular_file(status)) return "not a regular file";
    return {};
}

}  // namespace

std::string OpenFailureReason(const fs::path& path) {
    if (std::string why = statusFailure(path); !why.empty()) return why;
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return errno ? std::strerror(errno) : "it cannot be read";
    return {};
}

namespace {

TableFileResult openFailed(TableFileResult r, const fs::path& path, std::string reason) {
    if (reason.empty()) reason = "it cannot be read";
    return fail(r, OpenErrorMessage(path.string(), reason));
}

/// The size and open checks; on success \p buffer holds the file's bytes
/// and \c r.form its form.
TableFileResult readStored(const fs::path& path, bool checkSize, std::vector<std::uint8_t>& buffer) {
    TableFileResult r;
    std::error_code ec;
    if (checkSize) {
        const auto size = fs::file_size(path, ec);
        if (ec) return openFailed(r, path, statusFailure(path));  // missing or not a regular file
        if (!isTableSize(size)) return fail(r, FileSizeErrorMessage());
        r.sizeAccepted = true;
    }
    // Only a regular file is opened: opening a FIFO would wait for a writer
    // for ever, and a device is no table file.
    if (std::string why = statusFailure(path); !why.empty()) return openFailed(r, path, std::move(why));
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return openFailed(r, path, errno ? std::strerror(errno) : std::string());
    // Read one byte more than a full image so that a file which changed size
    // since the size check (or was never size-checked) is still recognised.
    buffer.assign(kImageSize + 1, 0);
    errno = 0;
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return openFailed(r, path, errno ? std::strerror(errno) : std::string());
    if (!isTableSize(got)) return fail(r, FileSizeErrorMessage());
    r.sizeAccepted = true;
    r.form = got == kImageSize ? TableForm::Full : TableForm::Short;
    buffer.resize(got);
    r.ok = true;
    return r;
}

/// Runs the Open checks; on success \p buffer holds the file's bytes.
TableFileResult readTable(const fs::path& path, bool checkSize, std::vector<std::uint8_t>& buffer) {
    TableFileResult r = readStored(path, checkSize, buffer);
    if (!r.ok) return r;
    if (!HasModelIdentity(buffer)) return fail(r, NotCorrectFormatMessage(path.string()));
    if (r.form == TableForm::Full && TableChecksum(buffer) != ((buffer[L::kChecksum] << 8) |
                                                               buffer[L::kChecksum + 1]))
        return fail(r, ChecksumErrorMessage());
    r.ok = true;
    return r;
}

}  // namespace

TableFileResult ReadStoredTableBytes(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> buffer;
    TableFileResult r = readStored(path, true, buffer);
    if (r.ok) bytes = std::move(buffer);
    return r;
}

TableFileResult CheckTableFile(const fs::path& path, bool checkSize) {
    std::vector<std::uint8_t> buffer;
    return readTable(path, checkSize, buffer);
}

TableFileResult LoadTableFile(const fs::path& path, ConfigImage& image, int& capcodeCount,
                              bool checkSize) {
    std::vector<std::uint8_t> buffer;
    TableFileResult r = readTable(path, checkSize, buffer);
    if (!r.ok) return r;
    image.write(0, buffer);  // a short file keeps 0xD80 onward as it was
    NormaliseAfterLoad(image, capcodeCount);
    return r;
}

std::optional<Message> SaveTableFile(const fs::path& path, ConfigImage& image, int capcodeCount) {
    // The save steps change the image; they are applied to a copy that is
    // kept only when the file was written, so a failed save changes nothing.
    ConfigImage saved = image;
    ClearUnusedCapcodes(saved, capcodeCount);
    StampIdentityForSave(saved);
    StoreTableChecksum(saved);

    const auto& bytes = saved.bytes();
    switch (WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        case SaveStatus::Saved: break;
        case SaveStatus::NotARegularFile: return NotARegularFileMessage(path.string());
        case SaveStatus::Failed: return SaveErrorMessage();
    }
    image = saved;
    return std::nullopt;
}

std::optional<Message> LockTableFile(const fs::path& path, FileLock& lock) {
    switch (lock.lock(path, kTableFileLockWait)) {
        case FileLock::Status::Locked: return std::nullopt;
        case FileLock::Status::InUse: return FileInUseMessage(path.string());
        case FileLock::Status::NotARegularFile: return NotARegularFileMessage(path.string());
    }
    return std::nullopt;
}

std::string CaptionWithTableName(std::string_view caption, std::string_view path) {
    const auto bracket = caption.find('[');
    std::string out;
    if (bracket != std::string_view::npos) {
        out = std::string(caption.substr(0, bracket + 1));
    } else {
        out = std::string(caption) + " - [";
    }
    out += path;
    out += ']';
    return out;
}

}  // namespace zrv
