// A batch job worked through row by row: which row the next write
// programs after a verify, a failure, a skip and a redo, what each row's
// state and note line then say, and what the programming log hears.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <vector>
#include <string>

#include "core/batch_run.h"
#include "core/default_image.h"

namespace zrv {
namespace {

char Letter(BatchRowState state) { return static_cast<char>(std::toupper(BatchRowStateName(state)[0])); }

TEST(BatchRun, WritesSkipsAndRedosMoveThroughTheRowsAsTheDealerDoes) {
    struct Case {
        const char* script;  ///< v verified, f failed, s skip, r redo the last, x stop; from row `from`
        std::size_t from;
        const char* states;  ///< W waiting, V verified, F failed, S skipped, per row
        int current;         ///< the row the next write programs, -1 for none
        const char* heard;   ///< what the log hears: row and state letter per event
    };
    const Case cases[] = {
        {"fvsv", 0, "VSV", -1, "0F0V1S2V"},  // a failed row stays current until it verifies
        {"ff", 0, "FWW", 0, "0F0F"},
        {"ffs", 0, "SWW", 1, "0F0F0S"},      // a failed row can be skipped
        {"srvv", 0, "VVW", 2, "0S0V1V"},     // Redo takes a skipped row back
        {"vrs", 0, "VWW", 1, "0V"},          // a redone row passed again keeps its result
        {"vvvr", 0, "VVV", 2, "0V1V2V"},     // Redo after the last row
        {"vx", 0, "VWW", -1, "0V"},          // Stop ends the job
        {"v", 2, "WWV", -1, "2V"},           // a run that starts at row 3
    };
    const BatchReadResult read = ReadBatchJob("name,capcode.1\na,1301\nb,1302\nc,1303\n");
    ASSERT_TRUE(read.ok()) << read.error;
    const ConfigImage templ = StartupImage();
    for (const Case& c : cases) {
        BatchRun run(read.job, templ, 16, "2026-12-10");
        std::string heard;
        run.setRowHook([&](std::size_t row, BatchRowState state, const ConfigImage&) {
            heard += std::to_string(row) + Letter(state);
        });
        run.startAt(c.from);
        for (const char* a = c.script; *a; ++a) {
            switch (*a) {
                case 'v':
                case 'f': {
                    const auto k = run.current();
                    ASSERT_TRUE(k.has_value()) << c.script;
                    run.recordWrite(*a == 'v', run.imageToWrite(*k));
                    break;
                }
                case 's': run.skipCurrent(); break;
                case 'r': EXPECT_TRUE(run.redoLast()) << c.script; break;
                case 'x': run.stop(); break;
            }
        }
        std::string states;
        for (std::size_t k = 0; k < run.rowCount(); ++k) states += Letter(run.state(k));
        EXPECT_EQ(states, c.states) << c.script;
        EXPECT_EQ(run.current() ? static_cast<int>(*run.current()) : -1, c.current) << c.script;
        EXPECT_EQ(heard, c.heard) << c.script;
        // The note says of each row what the window shows, or that it was not in the run.
        for (std::size_t k = 0; k < run.rowCount(); ++k) {
            const std::string expected = k < c.from ? "not in this run" : std::string(BatchRowStateName(run.state(k)));
            EXPECT_EQ(run.note().pagers[k].result, expected) << c.script << " row " << k;
            EXPECT_EQ(run.note().pagers[k].capcodes.rfind("130" + std::to_string(k + 1), 0), 0u) << c.script;
        }
    }
}

TEST(BatchRun, ALogOfAnEarlierRunTakesBackItsRowsAndTheJobGoesOnAtTheFirstNotVerified) {
    const std::filesystem::path job = "/orders/ward.csv";
    const auto entry = [&](std::size_t k, const char* name, bool verified) {
        return BatchLogEntry{BatchRowNote(job, k, name), verified, "Ward Hospital", std::nullopt, "2026-12-10T09:00:00.000Z"};
    };
    struct Case {
        std::vector<BatchLogEntry> newestFirst;
        const char* states;  ///< after resumeFrom
        std::size_t verified;
        int current;
        const char* afterOneVerify;  ///< states once the current row has verified
    };
    const Case cases[] = {
        {{entry(1, "b", true), entry(0, "a", true)}, "VVWW", 2, 2, "VVVW"},
        // the newest write of a row counts: b failed after it had verified once
        {{entry(1, "b", false), entry(1, "b", true), entry(0, "a", true)}, "VFWW", 1, 1, "VVWW"},
        // a failed row after the first one not verified is programmed in its turn, not passed
        {{entry(2, "c", false), entry(0, "a", false)}, "FWFW", 0, 0, "VWFW"},
        // another list, a row renamed since, a row the list no longer has: none counts
        {{BatchLogEntry{BatchRowNote("/orders/other.csv", 0, "a"), true, "", std::nullopt, ""}, entry(1, "x", true),
          entry(7, "h", true), BatchLogEntry{BatchNotePrefix(job) + "1x (a)", true, "", std::nullopt, ""}},
         "WWWW", 0, 0, "VWWW"},
        {{entry(3, "d", true), entry(2, "c", true), entry(1, "b", true), entry(0, "a", true)}, "VVVV", 4, -1, "VVVV"},
    };
    const BatchReadResult read = ReadBatchJob("name,capcode.1\na,1301\nb,1302\nc,1303\nd,1304\n");
    ASSERT_TRUE(read.ok()) << read.error;
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        const Case& c = cases[n];
        BatchRun run(read.job, StartupImage(), 16, "2026-12-10");
        EXPECT_EQ(run.resumeFrom(job, c.newestFirst), c.verified) << n;
        const auto states = [&] {
            std::string text;
            for (std::size_t k = 0; k < run.rowCount(); ++k) text += Letter(run.state(k));
            return text;
        };
        EXPECT_EQ(states(), c.states) << n;
        EXPECT_EQ(run.current() ? static_cast<int>(*run.current()) : -1, c.current) << n;
        EXPECT_EQ(run.note().customer, c.verified > 0 || n < 3 ? "Ward Hospital" : "") << n;
        if (const auto k = run.current()) run.recordWrite(true, run.imageToWrite(*k));
        EXPECT_EQ(states(), c.afterOneVerify) << n;
    }
}

}  // namespace
}  // namespace zrv
