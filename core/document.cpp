#include "core/document.h"

#include <algorithm>
#include <system_error>

namespace zrv {

std::vector<ByteRun> ChangedRuns(const ConfigImage& a, const ConfigImage& b) {
    std::vector<ByteRun> runs;
    const auto& x = a.bytes();
    const auto& y = b.bytes();
    std::size_t k = 0;
    while (k < kImageSize) {
        if (x[k] == y[k]) {
            ++k;
            continue;
        }
        const std::size_t first = k;
        while (k < kImageSize && x[k] != y[k]) ++k;
        runs.push_back({first, k - first});
    }
    return runs;
}

Message SaveChangesMessage(const std::string& fileName) {
    return Message("MsgSaveChanges", "Save changes to " + fileName + "?", MsgIcon::Question, {fileName});
}

// Recent files ---------------------------------------------------------------------------------

void RecentFiles::assign(std::vector<std::string> paths) {
    entries_.clear();
    for (std::string& path : paths) {
        if (path.empty() || std::find(entries_.begin(), entries_.end(), path) != entries_.end()) continue;
        entries_.push_back(std::move(path));
        if (entries_.size() == kLimit) break;
    }
}

void RecentFiles::remember(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) absolute = path;
    const std::string text = absolute.lexically_normal().string();
    forget(text);
    entries_.insert(entries_.begin(), text);
    if (entries_.size() > kLimit) entries_.resize(kLimit);
}

void RecentFiles::forget(const std::string& path) { std::erase(entries_, path); }

// The document ---------------------------------------------------------------------------------

Document::Document(ConfigImage image, std::filesystem::path fileName)
    : image_(image), noted_(image), clean_(image), fileName_(std::move(fileName)) {}

bool Document::noteChanges(ChangeOrigin origin) {
    if (holds_ > 0) return false;
    std::vector<ByteRun> runs = ChangedRuns(noted_, image_);
    if (runs.empty()) return false;
    const ConfigImage before = noted_;
    tell(origin, std::move(runs), before);
    return true;
}

void Document::tell(ChangeOrigin origin, std::vector<ByteRun> runs, const ConfigImage& before) {
    noted_ = image_;
    const DocumentChange change{origin, std::move(runs), &before, &image_};
    // A listener may add another (a window opened by a change): walk by index.
    for (std::size_t k = 0; k < listeners_.size(); ++k) listeners_[k](change);
}

void Document::settle(ChangeOrigin origin) {
    const ConfigImage before = noted_;
    std::vector<ByteRun> runs = ChangedRuns(noted_, image_);
    clean_ = image_;
    // The state changed (no longer modified) even when no byte did.
    tell(origin, std::move(runs), before);
}

void Document::replace(const ConfigImage& image, ChangeOrigin origin) {
    image_ = image;
    noteChanges(origin);
}

TableFileResult Document::open(const std::filesystem::path& path, bool checkSize) {
    ConfigImage loaded = image_;
    int count = capcodeCount_;
    TableFileResult result = LoadTableFile(path, loaded, count, checkSize);
    if (!result.ok) return result;
    image_ = loaded;
    capcodeCount_ = count;
    fileName_ = path;
    settle(ChangeOrigin::Open);
    return result;
}

std::optional<Message> Document::save() { return saveAs(fileName_); }

std::optional<Message> Document::saveAs(const std::filesystem::path& path, bool lockHeld) {
    if (path.empty()) return SaveErrorMessage();
    // Held while the file is written, so that another program's change of
    // the same file runs before or after this save, never in between.
    FileLock lock;
    if (!lockHeld)
        if (auto refused = LockTableFile(path, lock)) return refused;
    if (auto failed = SaveTableFile(path, image_, capcodeCount_)) return failed;
    fileName_ = path;
    settle(ChangeOrigin::Save);
    return std::nullopt;
}

Document::Hold::Hold(Document& document, ChangeOrigin origin) : document_(document), origin_(origin) {
    ++document_.holds_;
}

Document::Hold::~Hold() {
    if (--document_.holds_ == 0) document_.noteChanges(origin_);
}

}  // namespace zrv
