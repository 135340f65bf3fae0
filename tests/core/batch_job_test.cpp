// A batch job read from a CSV file and checked over a template: the file's
// forms (separators, quotes, byte-order mark, Windows-1252), the header's
// refusals, and rows built through the same rules `set` runs.
#include <gtest/gtest.h>

#include <string>

#include "core/batch_job.h"
#include "core/default_image.h"
#include "core/image_rules.h"

namespace zrv {
namespace {

TEST(BatchJob, TheFileFormsADealerSaves) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string prompt;  ///< the value of the second row's prompt.0 (UTF-8)
    };
    const Case cases[] = {
        {"comma, quoted comma", "name,capcode.1,prompt.0\nward1,1301,\"A, B\"\nward2,1302,\"Gr\xC3\xBC\xC3\x9F\"\n",
         "Gr\xC3\xBC\xC3\x9F"},
        {"semicolon, BOM, CRLF", "\xEF\xBB\xBFname;capcode.1;prompt.0\r\nward1;1301;\"A; B\"\r\nward2;1302;x\r\n", "x"},
        {"Windows-1252 umlauts", "name;capcode.1;prompt.0\nward1;1301;a\nward2;1302;Gr\xFC\xDF\n",
         "Gr\xC3\xBC\xC3\x9F"},
        {"quotes doubled, blank line, line break in a cell", "name,capcode.1,prompt.0\nward1,1301,\"say \"\"hi\"\"\"\n\n"
                                                           "ward2,1302,\"two\nlines\"\n",
         "two\nlines"},
    };
    for (const Case& c : cases) {
        const BatchReadResult r = ReadBatchJob(c.bytes);
        ASSERT_TRUE(r.ok()) << c.what << ": " << r.error;
        ASSERT_EQ(r.job.rows.size(), 2u) << c.what;
        const BatchRow& second = r.job.rows[1];
        EXPECT_EQ(second.name, "ward2") << c.what;
        ASSERT_EQ(second.values.size(), 2u) << c.what;
        EXPECT_EQ(second.values[0].first->name, "capcode.1") << c.what;
        EXPECT_EQ(second.values[0].second, "1302") << c.what;
        EXPECT_EQ(second.values[1].second, c.prompt) << c.what;
    }
    // Line numbers count the file's lines, blank lines and line breaks in cells included.
    EXPECT_EQ(ReadBatchJob(cases[3].bytes).job.rows[1].line, 4);
    EXPECT_EQ(ReadBatchJob(cases[0].bytes).job.rows[0].values[1].second, "A, B");
}

TEST(BatchJob, AHeaderOrRowThatCannotBeAJobIsRefusedByLineAndColumn) {
    const std::pair<std::string, std::string> cases[] = {
        {"name,capcod.1\nx,1\n", "line 1, column 2: 'capcod.1' is not a field"},
        {"capcode.1\n1301\n", "line 1: the header has no 'name' column"},
        {"name,capcode.1,capcode.1\nx,1,2\n", "line 1, column 3: 'capcode.1' is given twice"},
        {"name,capcode.1\nx,1301,extra\n", "line 2: 3 cells, the header names 2"},
        {"name,prompt.0\nx,\"open\n", "line 2: a quoted cell is not closed"},
        {"", "the file has no header row"},
    };
    for (const auto& [bytes, error] : cases) {
        const BatchReadResult r = ReadBatchJob(bytes);
        EXPECT_EQ(r.error.substr(0, error.size()), error) << bytes;
    }
}

TEST(BatchJob, EveryRowIsCheckedAndBuiltAsSetStoresIt) {
    const ConfigImage templ = StartupImage();
    const BatchReadResult r = ReadBatchJob(
        "name,capcode.1,capcode.1.on,contrast,customer\n"
        "a,1301,on,2,Hospital\n"
        "b,1302,,,\n"
        "c,5,off,2,\n"         // below the lowest capcode
        "d,1304,on,9,\n");     // no such contrast
    ASSERT_TRUE(r.ok()) << r.error;
    const auto problems = CheckBatchJob(r.job, templ, kDefaultCapcodeCount);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 4);
    EXPECT_EQ(problems[0].field->name, "capcode.1");
    ASSERT_TRUE(problems[0].message.has_value());
    EXPECT_EQ(problems[0].message->key, "Msg48");
    EXPECT_EQ(problems[1].line, 5);
    EXPECT_EQ(problems[1].field->name, "contrast");
    EXPECT_FALSE(problems[1].error.empty());

    // Row b: its capcode stored by the rule, every other byte the template's.
    ConfigImage built;
    ASSERT_FALSE(BuildRowImage(r.job.rows[1], templ, kDefaultCapcodeCount, built).has_value());
    ConfigImage expected = templ;
    FieldContext context = ContextAfterOpen(expected);
    ASSERT_EQ(SetFieldValue(expected, context, RequireField("capcode.1"), "1302").status,
              SetFieldResult::Status::Stored);
    EXPECT_TRUE(built == expected);
    EXPECT_EQ(r.job.rows[0].customer, "Hospital");
}

}  // namespace
}  // namespace zrv
