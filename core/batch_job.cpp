#include "core/batch_job.h"

#include <algorithm>

#include "core/cp1252.h"

namespace zrv {

namespace {

/// True when \p bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t follow = 0;
        if (c >= 0x80) {
            if (c >= 0xC2 && c <= 0xDF) follow = 1;
            else if (c >= 0xE0 && c <= 0xEF) follow = 2;
            else if (c >= 0xF0 && c <= 0xF4) follow = 3;
            else return false;
        }
        if (i + follow >= bytes.size() && follow > 0) return false;
        for (std::size_t k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += follow + 1;
    }
    return true;
}

/// The separator the header line uses: the one of comma and semicolon
/// found more often outside quotes (comma when neither is).
char Separator(std::string_view text) {
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) break;
        else if (!quoted && c == ',') ++commas;
        else if (!quoted && c == ';') ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

struct Record {
    int line = 0;
    std::vector<std::string> cells;
};

/// The records of \p text, each with the line it starts on; false with
/// \p error for a quote that is never closed.
bool Records(std::string_view text, char sep, std::vector<Record>& out, std::string& error) {
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        Record r{line, {}};
        std::string cell;
        bool done = false;
        while (!done) {
            if (i < text.size() && text[i] == '"') {
                const int opened = line;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        error = "line " + std::to_string(opened) + ": a quoted cell is not closed";
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == '\n') ++line;
                    cell += text[i++];
                }
            }
            while (i < text.size() && text[i] != sep && text[i] != '\n' && text[i] != '\r') cell += text[i++];
            r.cells.push_back(std::move(cell));
            cell.clear();
            if (i < text.size() && text[i] == sep) {
                ++i;
                continue;
            }
            if (i < text.size() && text[i] == '\r') ++i;
            if (i < text.size() && text[i] == '\n') ++i;
            ++line;
            done = true;
        }
        const bool blank = std::all_of(r.cells.begin(), r.cells.end(), [](const std::string& c) {
            return c.find_first_not_of(" \t") == std::string::npos;
        });
        if (!blank) out.push_back(std::move(r));
    }
    return true;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

BatchReadResult ReadBatchJob(std::string_view bytes) {
    BatchReadResult result;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const std::string text = IsUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
    std::vector<Record> records;
    if (!Records(text, Separator(text), records, result.error)) return result;
    if (records.empty()) {
        result.error = "the file has no header row (name, then field names such as capcode.1)";
        return result;
    }
    const Record& header = records.front();
    int nameColumn = -1, customerColumn = -1;
    std::vector<const FieldDef*> fields(header.cells.size(), nullptr);
    for (std::size_t k = 0; k < header.cells.size(); ++k) {
        const std::string column = Trim(header.cells[k]);
        const auto at = "line " + std::to_string(header.line) + ", column " + std::to_string(k + 1) + ": ";
        const FieldDef* f = FindField(column);
        const bool twice = (column == "name" && nameColumn >= 0) || (column == "customer" && customerColumn >= 0) ||
                           (f && std::find(fields.begin(), fields.end(), f) != fields.end());
        if (twice) {
            result.error = at + "'" + column + "' is given twice";
            return result;
        }
        if (column == "name") {
            nameColumn = static_cast<int>(k);
        } else if (column == "customer") {
            customerColumn = static_cast<int>(k);
        } else if (f) {
            if (!f->set) {
                result.error = at + "'" + column + "' is read only";
                return result;
            }
            fields[k] = f;
            result.job.columns.push_back(f);
        } else {
            result.error = at + "'" + column + "' is not a field (run 'zrv41k-cli fields' for the list)";
            return result;
        }
    }
    if (nameColumn < 0) {
        result.error = "line " + std::to_string(header.line) + ": the header has no 'name' column";
        return result;
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (record.cells.size() > header.cells.size()) {
            result.error = "line " + std::to_string(record.line) + ": " + std::to_string(record.cells.size()) +
                           " cells, the header names " + std::to_string(header.cells.size());
            return result;
        }
        BatchRow row;
        row.line = record.line;
        for (std::size_t k = 0; k < record.cells.size(); ++k) {
            const std::string& cell = record.cells[k];
            if (static_cast<int>(k) == nameColumn) row.name = Trim(cell);
            else if (static_cast<int>(k) == customerColumn) row.customer = Trim(cell);
            else if (fields[k] && !cell.empty()) row.values.emplace_back(fields[k], cell);
        }
        if (row.name.empty()) row.name = "row " + std::to_string(r);
        result.job.rows.push_back(std::move(row));
    }
    return result;
}

std::optional<BatchProblem> BuildRowImage(const BatchRow& row, const ConfigImage& templ, int capcodeCount,
                                          ConfigImage& image) {
    image = templ;
    FieldContext context = ContextAfterOpen(image);
    context.capcodeCount = capcodeCount;
    for (const auto& [field, value] : row.values) {
        SetFieldResult r = SetFieldValue(image, context, *field, value);
        if (r.status == SetFieldResult::Status::Stored) continue;
        return BatchProblem{row.line, field, r.status == SetFieldResult::Status::Refused ? r.message : std::nullopt,
                            std::move(r.error)};
    }
    return std::nullopt;
}

std::vector<BatchProblem> CheckBatchJob(const BatchJob& job, const ConfigImage& templ, int capcodeCount) {
    std::vector<BatchProblem> problems;
    ConfigImage image;
    for (const BatchRow& row : job.rows)
        if (auto p = BuildRowImage(row, templ, capcodeCount, image)) problems.push_back(std::move(*p));
    return problems;
}

std::string_view BatchRowStateName(BatchRowState state) {
    switch (state) {
        case BatchRowState::Waiting: return "waiting";
        case BatchRowState::Written: return "written";
        case BatchRowState::Verified: return "verified";
        case BatchRowState::Failed: return "failed";
        case BatchRowState::Skipped: return "skipped";
    }
    return "?";
}

}  // namespace zrv
