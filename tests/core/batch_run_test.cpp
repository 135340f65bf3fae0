// A batch job worked through row by row: which row the next write
// programs after a verify, a failure, a skip and a redo, what each row's
// state and note line then say, and what the programming log hears.
#include <gtest/gtest.h>

#include <cctype>
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

}  // namespace
}  // namespace zrv
