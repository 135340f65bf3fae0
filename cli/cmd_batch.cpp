// zrv41k-cli batch: program a customer's pagers from a list, one after another.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>

#include "cli/command.h"
#include "cli/field_cli.h"
#include "cli/link_cli.h"
#include "cli/table_cli.h"
#include "core/batch_job.h"
#include "core/batch_run.h"
#include "core/delivery_note.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "link/programming_session.h"
#include "report/delivery_note_pdf.h"

namespace zrv::cli {
namespace {

int runBatch(const std::vector<std::string>& args);

const CommandRegistration kBatch{Command{
    "batch", "program the pagers of a CSV list over a template, one after another",
    std::string("Usage: zrv41k-cli batch JOB.csv --template T.tbl [--port PATH]... [--trace FILE]\n"
                "                        [--customer NAME] [--from ROW] [--yes] [--note NOTE.pdf]\n"
                "       zrv41k-cli batch JOB.csv --template T.tbl --check\n"
                "       zrv41k-cli batch JOB.csv --template T.tbl --out DIR\n\n"
                "JOB.csv has a header row and one pager a row: a column 'name' (the row's\n"
                "label), an optional 'customer', and field names as 'set' takes them\n"
                "(capcode.1, capcode.1.on, prompt.0, password.rw, ...). UTF-8 or Windows-1252,\n"
                "comma or semicolon; an empty cell keeps the template's value. Each row's\n"
                "configuration is T.tbl with the row's values stored in column order, as\n"
                "'set' stores them. The whole job is checked first: a value the rules refuse\n"
                "is reported with its line and field, and nothing is written.\n\n"
                "Then, for each row, the command asks 'Insert pager NAME (row N of M) and\n"
                "press Enter; s skips, q stops', writes and verifies the pager and prints one\n"
                "line per row. A failed row can be tried again. Exit status 0 only when every\n"
                "row not skipped verified.\n\n"
                "Options:\n") +
        kLinkOptionsHelp + kLogDatabaseHelp + kLogOptionsHelp +
        "  --template T.tbl  the configuration every row starts from (required)\n"
        "  --check           only check the job\n"
        "  --out DIR         write one table file per row (DIR/NAME.tbl) instead of\n"
        "                    programming pagers\n"
        "  --customer NAME   the customer (instead of the file's 'customer' column)\n"
        "  --from ROW        start at row ROW (1 = the first row under the header)\n"
        "  --note NOTE.pdf   write the delivery note at the end: customer, date,\n"
        "                    frequency and band, per pager its name, serial numbers,\n"
        "                    capcodes and result, and a summary line\n"
        "  --yes             do not wait for Enter before each pager; stop at the first\n"
        "                    row that fails (and answer Yes when the model cannot be\n"
        "                    confirmed)\n",
    runBatch}};

struct BatchOptions {
    std::string job, templ, out, customer, note;
    bool check = false, yes = false;
    unsigned long long from = 1;
};

bool parseBatchOptions(std::vector<std::string>& args, BatchOptions& b, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--yes") {
            b.yes = true;
        } else if (a == "--check") {
            b.check = true;
        } else if (a == "--template" || a == "--out" || a == "--customer" || a == "--note") {
            if (!value(a == "--template" ? b.templ : a == "--out" ? b.out : a == "--note" ? b.note : b.customer))
                return false;
        } else if (a == "--from") {
            std::string row;
            if (!value(row)) return false;
            if (!ParseNumber(row, b.from, 1000000) || b.from == 0) {
                error = "--from takes a row number from 1";
                return false;
            }
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option '" + a + "'";
            return false;
        } else if (b.job.empty()) {
            b.job = a;
        } else {
            error = "unexpected argument '" + a + "'";
            return false;
        }
    }
    if (b.job.empty()) error = "JOB.csv is missing";
    else if (b.templ.empty()) error = "--template T.tbl is missing";
    else if (b.check && !b.out.empty()) error = "--check and --out exclude each other";
    else if (!b.note.empty() && (b.check || !b.out.empty())) error = "--note goes with programming, not --check or --out";
    return error.empty();
}

/// A file name for \p row in the output folder: its name with the
/// characters a file name cannot hold replaced, never hidden.
std::string FileNameOf(const BatchRow& row) {
    std::string name = row.name;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    if (name.empty() || name[0] == '.') name = "_" + name;
    return name + ".tbl";
}

std::string RowLabel(const BatchRow& row, std::size_t index, std::size_t count) {
    return TerminalText(row.name) + " (row " + std::to_string(index + 1) + " of " + std::to_string(count) + ")";
}

/// Prints every row's problem to stderr; kExitOk when there is none.
int reportProblems(const BatchJob& job, const ConfigImage& templ) {
    const auto problems = CheckBatchJob(job, templ, kDefaultCapcodeCount);
    for (const BatchProblem& p : problems)
        std::cerr << "line " << p.line << ": "
                  << (p.error.empty() ? RefusalText(*p.field, p.message) : TerminalText(p.error)) << '\n';
    return problems.empty() ? kExitOk : kExitFailed;
}

int writeFiles(const BatchJob& job, const BatchOptions& b) {
    OpenedTable templ;
    if (!OpenTable(b.templ, templ)) return kExitFailed;
    if (reportProblems(job, templ.image) != kExitOk) return kExitFailed;
    std::error_code ec;
    std::filesystem::create_directories(b.out, ec);
    std::set<std::string> taken;
    for (const BatchRow& row : job.rows) {
        OpenedTable table = templ;
        (void)BuildRowImage(row, templ.image, templ.capcodeCount, table.image);
        std::string name = FileNameOf(row);
        if (!taken.insert(name).second) name = name.substr(0, name.size() - 4) + "-" + std::to_string(row.line) + ".tbl";
        const std::string path = (std::filesystem::path(b.out) / name).string();
        FileLock lock;
        StderrNotifier notifier;
        if (!LockTable(path, lock, notifier) || !SaveTable(path, table)) return kExitFailed;
        std::cout << TerminalText(path) << '\n';
    }
    return kExitOk;
}

/// What the user answered before a row: go on, skip it, or stop the job.
enum class Answer { Go, Skip, Stop };

Answer ask(const std::string& question) {
    std::cerr << question << std::endl;
    std::string line;
    if (!std::getline(std::cin, line)) return Answer::Stop;
    if (line == "s" || line == "S") return Answer::Skip;
    if (line == "q" || line == "Q") return Answer::Stop;
    return Answer::Go;
}

/// Writes the delivery note when one is asked for; \p status otherwise unchanged.
int finish(int status, const BatchOptions& b, const DeliveryNote& note) {
    if (b.note.empty()) return status;
    std::string error;
    if (!report::WriteDeliveryNotePdf(note, b.note, error)) {
        std::cerr << TerminalText(error) << '\n';
        return kExitFailed;
    }
    std::cout << "delivery note: " << TerminalText(b.note) << '\n';
    return status;
}

int program(const BatchJob& job, const BatchOptions& b, const LinkOptions& options) {
    if (!b.note.empty()) report::EnsureGuiApplication();
    ConfigImage templ;
    StderrNotifier notifier;
    if (!OpenTableForTransfer(b.templ, templ, notifier)) return kExitFailed;
    if (reportProblems(job, templ) != kExitOk) return kExitFailed;
    if (b.from > job.rows.size()) {
        std::cerr << "--from " << b.from << ": the job has " << job.rows.size() << " rows\n";
        return kExitUsage;
    }
    // The note lists every row; a row not programmed keeps its planned capcodes.
    BatchRun run(job, templ, kDefaultCapcodeCount, TodaysDate());
    if (!b.customer.empty()) run.setCustomer(b.customer);
    run.startAt(static_cast<std::size_t>(b.from - 1));
    LinkSession session(options, b.yes);
    session.setTableFile(b.templ);
    if (!session.ready() || !session.findBoard()) return kExitFailed;
    bool allVerified = true;
    while (const auto current = run.current()) {
        const std::size_t k = *current;
        const std::string label = RowLabel(run.row(k), k, run.rowCount());
        Answer answer = b.yes ? Answer::Go : ask("Insert pager " + label + " and press Enter; s skips, q stops");
        // The programming log keeps the row's customer and where it came from.
        const BatchRow& row = run.row(k);
        session.setLogCustomerAndNote(row.customer.empty() ? b.customer : row.customer,
                                      BatchRowNote(b.job, k, row.name));
        while (answer == Answer::Go) {
            ConfigImage written = run.imageToWrite(k);
            const auto outcome = link::ProgramWrite(session.link(), session.sink(), written);
            if (outcome == link::WriteOutcome::VerifyError) PrintDifferences(session.link());
            run.recordWrite(outcome == link::WriteOutcome::Success, written);
            if (run.state(k) == BatchRowState::Verified || b.yes) break;
            answer = ask("Pager " + label + " failed; Enter tries again, s skips, q stops");
        }
        if (answer == Answer::Skip) run.skipCurrent();
        const BatchRowState state = run.state(k);
        if (answer == Answer::Stop && state == BatchRowState::Waiting) {
            std::cout << label << ": not written; the job stopped (go on with --from " << k + 1 << ")\n";
            return finish(kExitFailed, b, run.note());
        }
        std::cout << label << ": " << BatchRowStateName(state) << '\n';
        if (state == BatchRowState::Failed) {
            allVerified = false;
            if (b.yes || answer == Answer::Stop) {
                std::cout << "the job stopped (go on with --from " << k + 1 << ")\n";
                return finish(kExitFailed, b, run.note());
            }
        }
    }
    return finish(allVerified ? kExitOk : kExitFailed, b, run.note());
}

int runBatch(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    LinkOptions options;
    BatchOptions b;
    std::string error;
    const Command& self = CommandByName("batch");
    if (!TakeLinkOptions(args, options, error) || !parseBatchOptions(args, b, error))
        return UsageError(self, TerminalText(error));
    std::ifstream in(b.job, std::ios::binary);
    if (!in) {
        std::cerr << TerminalText(b.job) << ": cannot be read\n";
        return kExitFailed;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const BatchReadResult read = ReadBatchJob(bytes);
    if (!read.ok()) return UsageError(self, TerminalText(b.job + ": " + read.error));
    if (!b.out.empty()) return writeFiles(read.job, b);
    if (b.check) {
        OpenedTable templ;
        if (!OpenTable(b.templ, templ)) return kExitFailed;
        const int status = reportProblems(read.job, templ.image);
        if (status == kExitOk) std::cout << read.job.rows.size() << " rows can be programmed\n";
        return status;
    }
    return program(read.job, b, options);
}

}  // namespace
}  // namespace zrv::cli
