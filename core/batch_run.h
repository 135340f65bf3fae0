#pragma once
/// \file
/// A batch job as it is worked through: the image each row was planned
/// with, each row's state, the row the next write programs, the row last
/// worked on (which Redo takes back), and the delivery note as it stands.
/// The Batch Job window and `zrv41k-cli batch` both run a job through it,
/// so a skipped, failed or redone row ends the same in both.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/batch_job.h"
#include "core/delivery_note.h"
#include "core/image.h"
#include "core/table_file.h"

namespace zrv {

/// Opens the table file \p path as the template of a job, as a program that
/// has just started opens it for a write: a short file is completed from
/// the start-up image, and the values every refresh of the window forces
/// are applied. On a refusal \p image is unusable and the result carries
/// the message.
TableFileResult OpenTemplateTable(const std::filesystem::path& path, ConfigImage& image);

/// Reads the list of pagers in the file \p path (ReadBatchJob). A name
/// that leads to something other than a regular file (a folder, a device, a
/// pipe: never waited on), a file over 4 MB and a file that cannot be read
/// are refused, the error saying why.
BatchReadResult ReadBatchJobFile(const std::filesystem::path& path);

/// Today's date as the delivery note gives it: "2026-12-10".
std::string TodaysDate();

/// "line 5, capcode.1: " and why the value was refused: the value's own
/// error (a value of the wrong kind), else the rule's message as \p text
/// gives it in the language shown.
std::string ProblemText(const BatchProblem& problem, const std::function<std::string(const Message&)>& text);

/// What the programming log holds of one write of a job's row: the note
/// its record carries, whether the pager verified, the customer recorded
/// and the pager's memory as written (when the log kept it).
struct BatchLogEntry {
    std::string note;
    bool verified = false;
    std::string customer;
    std::optional<ConfigImage> image;
    std::string timeUtc;
};

/// The start of every note of the job in the file \p job: "batch
/// /path/order.csv, row ". The path is made absolute, so that the window
/// and the command line name one job alike whatever folder they run in.
std::string BatchNotePrefix(const std::filesystem::path& job);
/// The note the log keeps with the write of row \p k (from 0) named \p name:
/// "batch /path/order.csv, row 3 (ward3)".
std::string BatchRowNote(const std::filesystem::path& job, std::size_t k, const std::string& name);

class BatchRun {
public:
    /// Called after each row's write and each skip: the row, its state and
    /// the image as the write left it (the row's planned image for a skip).
    using RowHook = std::function<void(std::size_t row, BatchRowState state, const ConfigImage& image)>;

    /// The rows of \p job over \p templ (a job CheckBatchJob found nothing
    /// in; a row whose value is refused all the same keeps the template's
    /// image from that value on). The note's customer is the first row's
    /// customer column that is not empty; every line is "waiting" with the
    /// row's planned capcodes and no serial numbers yet.
    BatchRun(BatchJob job, const ConfigImage& templ, int capcodeCount, std::string date);

    std::size_t rowCount() const { return job_.rows.size(); }
    const BatchRow& row(std::size_t k) const { return job_.rows.at(k); }
    BatchRowState state(std::size_t k) const { return states_.at(k); }
    /// The row's image as planned, texts in the PC character set.
    const ConfigImage& plannedImage(std::size_t k) const { return images_.at(k); }
    /// What a write of row \p k sends: its planned image with the texts in
    /// the pager's character set (the write itself does the rest).
    ConfigImage imageToWrite(std::size_t k) const;

    /// The row the next write programs; none when every row has been worked
    /// through or the job was stopped.
    std::optional<std::size_t> current() const { return stopped_ ? std::nullopt : current_; }
    /// The row Redo takes back to: the one last written, failed or skipped,
    /// when it is not the current row already.
    std::optional<std::size_t> redoable() const;
    bool stopped() const { return stopped_; }
    /// How many rows are no longer waiting.
    std::size_t rowsDone() const;

    /// Rows before \p k are not in this run (their note line says so); the
    /// job starts at row \p k.
    void startAt(std::size_t k);
    /// The current row's bytes have gone to the pager; its verify follows.
    void markWritten();
    /// The current row's write has ended: verified, or failed. \p written is
    /// the image as the write left it (with the pager's serial numbers). A
    /// verified row hands over to the next waiting row after it; a failed
    /// one stays current, to be tried again or skipped.
    void recordWrite(bool verified, const ConfigImage& written);
    /// Passes the current row: a waiting or failed row becomes skipped, a
    /// row taken back by Redo keeps what it had.
    void skipCurrent();
    /// Takes the row last worked on back as the current row; false when
    /// there is none to take back.
    bool redoLast();
    /// Takes back the rows \p newestFirst (the log's records of the job in
    /// the file \p job, newest first) show as written before: a row whose
    /// latest write verified is verified (its note line from the image
    /// written), one whose latest write failed is failed; only entries whose
    /// row number and name match a row of this list count. The job goes on
    /// at the first row not verified. Returns how many rows were verified.
    std::size_t resumeFrom(const std::filesystem::path& job, const std::vector<BatchLogEntry>& newestFirst);
    /// Ends the job: no row is written any more.
    void stop() { stopped_ = true; }

    const DeliveryNote& note() const { return note_; }
    void setCustomer(std::string customer) { note_.customer = std::move(customer); }
    void setRowHook(RowHook hook) { rowHook_ = std::move(hook); }

private:
    /// The first row not verified, if any.
    std::optional<std::size_t> firstNotVerified() const;
    /// The next row after \p k still to be programmed: waiting, or failed in
    /// an earlier run of the job (resumeFrom), if any.
    std::optional<std::size_t> nextToProgramAfter(std::size_t k) const;
    void finishRow(std::size_t k, const ConfigImage& image);

    BatchJob job_;
    std::vector<ConfigImage> images_;
    std::vector<BatchRowState> states_;
    DeliveryNote note_;
    std::optional<std::size_t> current_;
    std::optional<std::size_t> last_;  ///< the row last written, failed or skipped
    bool stopped_ = false;
    RowHook rowHook_;
};

}  // namespace zrv
