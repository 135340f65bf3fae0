#pragma once
/// \file
/// A batch job: a customer's list of pagers as a CSV file, one pager a row,
/// each row's fields stored over a template configuration through the
/// field catalogue's rules (the ones `zrv41k-cli set` runs). The whole job
/// is read and checked before the first pager is written, so a refused
/// value in row 40 is found before row 1 is programmed.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/field_table.h"
#include "core/image.h"
#include "core/notifier.h"

namespace zrv {

/// One pager of the job.
struct BatchRow {
    int line = 0;          ///< the line of the CSV file the row starts on (the header is line 1)
    std::string name;      ///< the `name` column: how the row is called to the user
    std::string customer;  ///< the optional `customer` column
    /// The row's values in column order (UTF-8, as `set` takes them); an
    /// empty cell keeps the template's value and is not listed.
    std::vector<std::pair<const FieldDef*, std::string>> values;
};

struct BatchJob {
    std::vector<const FieldDef*> columns;  ///< the field columns, in file order
    std::vector<BatchRow> rows;
};

/// The job in \p bytes, or the reason it cannot be one ("line 1: column
/// 'capcod.1' is not a field ..."). UTF-8 (with or without a byte-order
/// mark) or Windows-1252; comma or semicolon as separator (the one the
/// header uses); cells in double quotes may hold separators, quotes ("")
/// and line breaks. A header row names the columns: `name` (required),
/// `customer` (optional) and settable fields of the catalogue.
struct BatchReadResult {
    BatchJob job;
    std::string error;
    bool ok() const { return error.empty(); }
};
BatchReadResult ReadBatchJob(std::string_view bytes);

/// Why a row cannot be programmed: its line, the field and the rule's
/// refusal (a message of the catalogue, or the field's own text for a
/// value of the wrong kind).
struct BatchProblem {
    int line = 0;
    const FieldDef* field = nullptr;
    std::optional<Message> message;
    std::string error;
};

/// The image of \p row: \p templ with the row's values stored in column
/// order, each through its field's rule, in the context a table file with
/// \p capcodeCount capcodes opened into \p templ has. The first refusal
/// stops it; \p image is then unusable.
std::optional<BatchProblem> BuildRowImage(const BatchRow& row, const ConfigImage& templ, int capcodeCount,
                                          ConfigImage& image);
/// Every row's problem (at most one a row), in row order; empty when each
/// row can be programmed.
std::vector<BatchProblem> CheckBatchJob(const BatchJob& job, const ConfigImage& templ, int capcodeCount);

/// What becomes of a row as the job is worked through.
enum class BatchRowState { Waiting, Written, Verified, Failed, Skipped };
std::string_view BatchRowStateName(BatchRowState state);

}  // namespace zrv
