#pragma once
/// \file
/// The configuration being edited: its image and capcode count, the table
/// file it belongs to, whether it changed since it was opened or saved, the
/// recently used table files, and listeners told of every change. The window
/// and the command line open, store and save through it, so every change of
/// the image passes one place that can tell when and which bytes changed.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/notifier.h"
#include "core/table_file.h"

namespace zrv {

/// What made a change of the document.
enum class ChangeOrigin {
    Edit,          ///< the user changed a field (an editor, a companion window, the command line)
    Open,          ///< a table file was opened
    Save,          ///< the document was saved (the Save steps stamp and checksum the image)
    Read,          ///< the image was read from a pager
    Write,         ///< a write to a pager changed the image (its serial number, the capcodes raised)
    OtaWriteBack,  ///< the OTA window stored its values into the image
    Replace,       ///< the image was replaced as a whole (undo, redo, a language's defaults)
};

/// A run of changed bytes.
struct ByteRun {
    std::size_t offset = 0;
    std::size_t length = 0;
    friend bool operator==(const ByteRun&, const ByteRun&) = default;
};

/// One change as the listeners hear of it.
struct DocumentChange {
    ChangeOrigin origin = ChangeOrigin::Edit;
    std::vector<ByteRun> runs;  ///< the bytes that differ from before; empty when only the state changed
    const ConfigImage* before = nullptr;  ///< the image before the change
    const ConfigImage* after = nullptr;   ///< the image now
};

/// "Save changes to FILE?": the question before a changed document is
/// discarded; \p fileName (its name without the folder) as argument.
Message SaveChangesMessage(const std::string& fileName);

/// The runs of bytes in which \p a and \p b differ, in offset order.
std::vector<ByteRun> ChangedRuns(const ConfigImage& a, const ConfigImage& b);

/// The table files used last, latest first, each once, at most eight.
class RecentFiles {
public:
    static constexpr std::size_t kLimit = 8;
    /// Replaces the list (as stored by the settings), keeping the first
    /// kLimit distinct entries.
    void assign(std::vector<std::string> paths);
    /// Puts \p path (made absolute) first.
    void remember(const std::filesystem::path& path);
    /// Takes \p path out of the list (a file that has gone).
    void forget(const std::string& path);
    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

class Document {
public:
    using Listener = std::function<void(const DocumentChange&)>;

    /// A document holding \p image with no changes, named \p fileName.
    explicit Document(ConfigImage image = {}, std::filesystem::path fileName = {});
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const ConfigImage& image() const { return image_; }
    /// The image to store into. The listeners hear of what changed at the
    /// next noteChanges(), or when the last Hold ends.
    ConfigImage& image() { return image_; }

    /// The capcodes a save keeps: a multiple of 8 up to 48; 16 after an open.
    int capcodeCount() const { return capcodeCount_; }
    void setCapcodeCount(int count) { capcodeCount_ = count; }

    /// The table file Save writes; empty when there is none.
    const std::filesystem::path& fileName() const { return fileName_; }
    void setFileName(std::filesystem::path fileName) { fileName_ = std::move(fileName); }
    /// True when the image differs from the one last opened or saved.
    bool modified() const { return !(image_ == clean_); }

    /// Tells the listeners which bytes changed since the last note, with
    /// \p origin; nothing when none did or while a Hold is in force. Returns
    /// true when bytes changed and were told.
    bool noteChanges(ChangeOrigin origin = ChangeOrigin::Edit);
    /// Notes the changes made so far and takes the image as it now is as the
    /// unchanged state (after an open, the values a refresh forces belong to
    /// the file as opened).
    void settle(ChangeOrigin origin = ChangeOrigin::Open);
    /// Replaces the image as a whole and notes the change with \p origin.
    void replace(const ConfigImage& image, ChangeOrigin origin);

    /// Opens the table file \p path by the Open checks (\p checkSize: the
    /// checks of a chosen file). On success the image, the capcode count
    /// (16) and the file name are those of the file and the document is
    /// unchanged. On failure nothing changes and the result carries the
    /// message.
    TableFileResult open(const std::filesystem::path& path, bool checkSize = true);
    /// Saves to the file name by the Save steps, holding the file's lock
    /// while it is written. Returns the message of a refusal; the image and
    /// the file are then as they were.
    std::optional<Message> save();
    /// Save under \p path, which becomes the file name once saved. With
    /// \p lockHeld the caller holds the file's lock already (a command that
    /// locks the file before reading it and keeps it until it is saved).
    std::optional<Message> saveAs(const std::filesystem::path& path, bool lockHeld = false);

    /// The table files used last; whoever opens or saves for the user
    /// remembers the file there (the start-up default table is not).
    RecentFiles& recent() { return recent_; }
    const RecentFiles& recent() const { return recent_; }

    /// True while a Hold is in force (a transfer is under way).
    bool held() const { return holds_ > 0; }

    /// Adds a listener of every change; it lives as long as the document.
    void listen(Listener listener) { listeners_.push_back(std::move(listener)); }

    /// While any Hold lives, changes are gathered; when the last one ends
    /// they are told as one change with the origin of the outermost Hold
    /// (a transfer converts the texts to the pager's character set and back:
    /// no one hears of that).
    class Hold {
    public:
        Hold(Document& document, ChangeOrigin origin);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        Document& document_;
        ChangeOrigin origin_;
    };

private:
    void tell(ChangeOrigin origin, std::vector<ByteRun> runs, const ConfigImage& before);

    ConfigImage image_;
    ConfigImage noted_;  ///< the image as the listeners last heard of it
    ConfigImage clean_;  ///< the image as last opened or saved
    int capcodeCount_ = 16;
    std::filesystem::path fileName_;
    RecentFiles recent_;
    std::vector<Listener> listeners_;
    int holds_ = 0;
};

}  // namespace zrv
