#include "core/batch_run.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>

#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"

namespace zrv {

TableFileResult OpenTemplateTable(const std::filesystem::path& path, ConfigImage& image) {
    // A short table file defines only its first bytes; the rest comes from
    // the image the program holds after start-up, as in the window.
    image = StartupImage();
    int capcodeCount = kDefaultCapcodeCount;
    TableFileResult result = LoadTableFile(path, image, capcodeCount);
    if (result.ok) ApplyRefreshForcedValues(image);
    return result;
}

BatchReadResult ReadBatchJobFile(const std::filesystem::path& path) {
    constexpr std::uintmax_t kLargest = 4 * 1024 * 1024;  // thousands of pagers
    BatchReadResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        result.error = "the file cannot be read (" + (ec ? ec.message() : std::string("no such file")) + ")";
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.error = "it is not a regular file";
        return result;
    }
    if (std::filesystem::file_size(path, ec) > kLargest || ec) {
        result.error = ec ? "the file cannot be read (" + ec.message() + ")" : "the file is larger than 4 MB";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        result.error = "the file cannot be read";
        return result;
    }
    return ReadBatchJob(bytes);
}

std::string TodaysDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::string ProblemText(const BatchProblem& problem, const std::function<std::string(const Message&)>& text) {
    std::string out = "line " + std::to_string(problem.line);
    if (problem.field) out += ", " + problem.field->name;
    out += ": ";
    if (!problem.error.empty()) return out + problem.error;
    if (problem.message) return out + text(*problem.message);
    return out + "the value was refused";
}

std::string BatchNotePrefix(const std::filesystem::path& job) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(job, ec);
    if (ec) full = job;
    return "batch " + full.lexically_normal().string() + ", row ";
}

std::string BatchRowNote(const std::filesystem::path& job, std::size_t k, const std::string& name) {
    return BatchNotePrefix(job) + std::to_string(k + 1) + " (" + name + ")";
}

BatchRun::BatchRun(BatchJob job, const ConfigImage& templ, int capcodeCount, std::string date)
    : job_(std::move(job)), images_(job_.rows.size()), states_(job_.rows.size(), BatchRowState::Waiting) {
    note_.date = std::move(date);
    TakeFrequency(note_, templ);
    for (std::size_t k = 0; k < job_.rows.size(); ++k) {
        const BatchRow& r = job_.rows[k];
        (void)BuildRowImage(r, templ, capcodeCount, images_[k]);
        if (note_.customer.empty()) note_.customer = r.customer;
        // Serial numbers are the pager's, known once it has been written.
        DeliveryLine line = DeliveryLineOf(r.name, images_[k], std::string(BatchRowStateName(BatchRowState::Waiting)));
        line.ssn = line.psn = {};
        note_.pagers.push_back(std::move(line));
    }
    if (!job_.rows.empty()) current_ = 0;
}

ConfigImage BatchRun::imageToWrite(std::size_t k) const {
    ConfigImage image = images_.at(k);
    ConvertTextsToPager(image);
    return image;
}

std::optional<std::size_t> BatchRun::redoable() const {
    if (stopped_ || !last_ || last_ == current_) return std::nullopt;
    return last_;
}

std::size_t BatchRun::rowsDone() const {
    return static_cast<std::size_t>(
        std::count_if(states_.begin(), states_.end(), [](BatchRowState s) { return s != BatchRowState::Waiting; }));
}

void BatchRun::startAt(std::size_t k) {
    for (std::size_t j = 0; j < std::min(k, rowCount()); ++j) note_.pagers[j].result = "not in this run";
    current_ = k < rowCount() ? std::optional<std::size_t>(k) : std::nullopt;
}

void BatchRun::markWritten() {
    if (const auto k = current()) states_[*k] = BatchRowState::Written;
}

void BatchRun::recordWrite(bool verified, const ConfigImage& written) {
    const auto k = current();
    if (!k) return;
    states_[*k] = verified ? BatchRowState::Verified : BatchRowState::Failed;
    note_.pagers[*k] = DeliveryLineOf(job_.rows[*k].name, written, std::string(BatchRowStateName(states_[*k])));
    finishRow(*k, written);
    if (verified) current_ = nextToProgramAfter(*k);
}

void BatchRun::skipCurrent() {
    const auto k = current();
    if (!k) return;
    // A row taken back by Redo and passed again keeps its result: nothing
    // happened to it.
    if (states_[*k] == BatchRowState::Waiting || states_[*k] == BatchRowState::Failed) {
        states_[*k] = BatchRowState::Skipped;
        note_.pagers[*k].result = std::string(BatchRowStateName(BatchRowState::Skipped));
        finishRow(*k, images_[*k]);
    }
    last_ = k;
    current_ = nextToProgramAfter(*k);
}

bool BatchRun::redoLast() {
    const auto k = redoable();
    if (!k) return false;
    current_ = k;
    return true;
}

std::size_t BatchRun::resumeFrom(const std::filesystem::path& job, const std::vector<BatchLogEntry>& newestFirst) {
    const std::string prefix = BatchNotePrefix(job);
    std::vector<bool> seen(rowCount(), false);
    std::size_t verified = 0;
    for (const BatchLogEntry& entry : newestFirst) {
        if (entry.note.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = entry.note.substr(prefix.size());
        const std::size_t digits = rest.find_first_not_of("0123456789");
        if (digits == 0 || digits == std::string::npos || digits > 9) continue;
        const std::size_t number = std::stoul(rest.substr(0, digits));
        if (number == 0 || number > rowCount()) continue;
        const std::size_t k = number - 1;
        // A row of another list saved under the same name is not this row.
        if (seen[k] || rest.substr(digits) != " (" + job_.rows[k].name + ")") continue;
        seen[k] = true;  // the newest write of the row tells how it ended
        states_[k] = entry.verified ? BatchRowState::Verified : BatchRowState::Failed;
        const std::string result(BatchRowStateName(states_[k]));
        if (entry.image) note_.pagers[k] = DeliveryLineOf(job_.rows[k].name, *entry.image, result);
        else note_.pagers[k].result = result;
        if (note_.customer.empty()) note_.customer = entry.customer;
        if (entry.verified) ++verified;
    }
    current_ = firstNotVerified();
    return verified;
}

std::optional<std::size_t> BatchRun::firstNotVerified() const {
    for (std::size_t k = 0; k < rowCount(); ++k)
        if (states_[k] != BatchRowState::Verified) return k;
    return std::nullopt;
}

std::optional<std::size_t> BatchRun::nextToProgramAfter(std::size_t k) const {
    for (std::size_t j = k + 1; j < rowCount(); ++j)
        if (states_[j] == BatchRowState::Waiting || states_[j] == BatchRowState::Failed) return j;
    return std::nullopt;
}

void BatchRun::finishRow(std::size_t k, const ConfigImage& image) {
    last_ = k;
    if (rowHook_) rowHook_(k, states_[k], image);
}

}  // namespace zrv
