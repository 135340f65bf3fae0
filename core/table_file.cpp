#include "core/table_file.h"

#include <array>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "core/image_layout.h"
#include "core/image_rules.h"

namespace zrv {
namespace L = layout;
namespace fs = std::filesystem;

Message FileSizeErrorMessage() { return {"Msg61", "The file size is error !", MsgIcon::Exclamation, {}}; }
Message OpenErrorMessage() { return {"Msg62", "Open Error !", MsgIcon::Exclamation, {}}; }
Message NotCorrectFormatMessage(const std::string& fileName) {
    return {"Msg45", "The [" + fileName + "] is not correct format, the file will discard !",
            MsgIcon::Exclamation, {fileName}};
}
Message ChecksumErrorMessage() {
    return {"Msg70", "Checksum Error, the file will discard !", MsgIcon::Exclamation, {}};
}
Message SaveErrorMessage() { return {"Msg57", "Save Error !", MsgIcon::Exclamation, {}}; }

namespace {

bool isTableSize(std::uintmax_t size) { return size == kImageSize || size == L::kShortTableSize; }

TableFileResult fail(TableFileResult r, Message m) {
    r.ok = false;
    r.message = std::move(m);
    return r;
}

/// The size and open checks; on success \p buffer holds the file's bytes
/// and \c r.form its form.
TableFileResult readStored(const fs::path& path, bool checkSize, std::vector<std::uint8_t>& buffer) {
    TableFileResult r;
    std::error_code ec;
    if (checkSize) {
        const auto size = fs::file_size(path, ec);
        if (ec) return fail(r, OpenErrorMessage());  // missing or not a regular file
        if (!isTableSize(size)) return fail(r, FileSizeErrorMessage());
        r.sizeAccepted = true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in || fs::is_directory(path, ec)) return fail(r, OpenErrorMessage());
    // Read one byte more than a full image so that a file which changed size
    // since the size check (or was never size-checked) is still recognised.
    buffer.assign(kImageSize + 1, 0);
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return fail(r, OpenErrorMessage());
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

fs::path temporaryBeside(const fs::path& target) {
    std::random_device rd;
    std::uniform_int_distribution<unsigned> dist;
    std::error_code ec;
    // A short name of its own, so that a target whose name is already near
    // the file system's limit can still be saved.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path p = target.parent_path() / (".tbl-" + std::to_string(dist(rd)) + ".tmp");
        if (!fs::exists(p, ec)) return p;
    }
    return {};
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

    // Through a symbolic link the file it names is replaced, not the link.
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(path, ec)) {
        const auto real = fs::weakly_canonical(path, ec);
        if (!ec) target = real;
    }
    // An existing file must be open for writing, as it would have to be if
    // it were written in place: the rename below would otherwise replace a
    // file the user made read-only. Opening to append changes nothing.
    if (fs::exists(target, ec)) {
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe) return SaveErrorMessage();
    }
    const fs::path temp = temporaryBeside(target);
    if (temp.empty()) return SaveErrorMessage();
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return SaveErrorMessage();
        out.write(reinterpret_cast<const char*>(saved.bytes().data()),
                  static_cast<std::streamsize>(saved.bytes().size()));
        out.close();
        if (!out) {
            fs::remove(temp, ec);
            return SaveErrorMessage();
        }
    }
    // The replaced file keeps its permissions.
    const auto previous = fs::status(target, ec);
    if (!ec && fs::is_regular_file(previous))
        fs::permissions(temp, previous.permissions(), ec);
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return SaveErrorMessage();
    }
    image = saved;
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
