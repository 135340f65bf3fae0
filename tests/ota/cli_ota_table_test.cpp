// zrv41k-cli ota with --table: every type that reads the pager's settings,
// built from a table file exactly as the builders build it from the image.
#include <gtest/gtest.h>

#include "core/capcodes.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/serial_fields.h"
#include "core/table_file.h"
#include "ota/ota_image_inputs.h"
#include "ota/ota_send.h"
#include "tests/ota/encoder_sim_process.h"
#include "tests/support/test_support.h"

namespace zrv::ota {
namespace {

using test::ReadFile;
using test::RunProgram;
using test::TempDir;

/// A table file with capcode 2 switched off (its display code A still 2),
/// capcode 8 = 4321 and a prompt text in field 32.
std::filesystem::path SampleTable(const TempDir& dir) {
    ConfigImage image = StartupImage();
    SetCapcodeOn(image, 1, false);
    image.setByte(DisplayCodeOffset(1, 0), 2);
    SetCapcode(image, 7, 4321);
    const auto path = dir / "pager.tbl";
    EXPECT_FALSE(SaveTableFile(path, image, kDefaultCapcodeCount).has_value());
    return path;
}

/// The log lines a View of \p types gives over the table's image.
std::vector<std::string> ExpectedLines(const std::filesystem::path& table, const std::vector<int>& types) {
    ConfigImage image = StartupImage();
    int count = kDefaultCapcodeCount;
    EXPECT_TRUE(LoadTableFile(table, image, count).ok);
    const OtaImageInputs in = OtaInputsFromImage(image);
    OtaWindowFields w;
    w.chkCmd.fill(false);
    for (int t : types) w.chkCmd[static_cast<std::size_t>(t == kTypeRawData ? kRawDataBoxTag : t - 1)] = true;
    w.chkLast = false;
    w.chkSysDate = false;
    w.chkDateField = false;
    w.edtDateField = "1412301530";
    w.edtID = "1234567N12";
    FillOnShow(w, in.show, std::tm{});
    w.edtID = "1234567N12";
    test::RecordingNotifier quiet;
    TCommPort port;
    EncoderLink link(port, quiet);
    OtaBuilder builder(quiet);
    OtaSender sender(builder, link, quiet);
    std::vector<std::string> lines;
    sender.View(w, in.main, in.alert, image, [&](const std::string& l) { lines.push_back(Cp1252ToUtf8(l)); });
    return lines;
}

std::vector<std::string> BuildArgs(const std::filesystem::path& table, const std::vector<int>& types) {
    std::vector<std::string> args{"ota", "build", "--table", table.string(), "--control-id", "1234567N12",
                                  "--date", "1412301530"};
    for (int t : types) {
        args.push_back("--type");
        args.push_back(std::to_string(t));
    }
    return args;
}

TEST(CliOtaTable, EveryTypeFromATableFileIsWhatTheBuildersMakeOfIt) {
    TempDir dir;
    const auto table = SampleTable(dir);
    for (int type : {1, 2, 3, 4, 5, 10, 11, 12, 17}) {
        const auto r = RunProgram("zrv41k-cli", BuildArgs(table, {type}));
        EXPECT_EQ(r.exitCode, 0) << type << r.err;
        EXPECT_EQ(r.err, "Transmit Success !\n") << type;
        EXPECT_EQ(test::SplitLines(r.out), ExpectedLines(table, {type})) << type;
        EXPECT_NE(r.out.find("OTA Type=" + std::to_string(type) + "  "), std::string::npos) << type;
    }
    // Several types in one run go out in box order with running package numbers.
    const auto r = RunProgram("zrv41k-cli", BuildArgs(table, {17, 2, 1}));
    EXPECT_EQ(test::SplitLines(r.out), ExpectedLines(table, {1, 2, 17}));
    EXPECT_NE(r.out.find("Pkg No.=03  Bth No.=00  OTA Type=17"), std::string::npos) << r.out;
}

TEST(CliOtaTable, TypeOneCarriesTheTablesCapcodesAndWritesBackOnlyWhenAsked) {
    TempDir dir;
    const auto table = SampleTable(dir);
    const std::string before = ReadFile(table);
    auto r = RunProgram("zrv41k-cli", BuildArgs(table, {1}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = test::SplitLines(r.out);
    ASSERT_GE(lines.size(), 3u);
    // After the 104 header and type bits: capcode 1 in seven digits.
    ConfigImage image = StartupImage();
    int count = 0;
    ASSERT_TRUE(LoadTableFile(table, image, count).ok);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%07u", CapcodeAt(image, 0));
    EXPECT_EQ(lines[2].substr(26, 7), digits);
    EXPECT_EQ(ReadFile(table), before) << "no --update-table: the file stays as it was";

    r = RunProgram("zrv41k-cli", [&] {
        auto a = BuildArgs(table, {1});
        a.push_back("--update-table");
        return a;
    }());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ConfigImage updated = StartupImage();
    ASSERT_TRUE(LoadTableFile(table, updated, count).ok) << "the file is still a valid table file";
    for (int f = 0; f < 4; ++f) EXPECT_EQ(updated.byte(DisplayCodeOffset(1, f)), 5) << f;
    EXPECT_EQ(updated.byte(DisplayCodeOffset(0, 0)), image.byte(DisplayCodeOffset(0, 0)));
}

TEST(CliOtaTable, AFailedSendLeavesTheTableAsItWas) {
    TempDir dir;
    const auto table = SampleTable(dir);
    const std::string before = ReadFile(table);
    test::EncoderSimProcess deaf({"--wrong-ack-byte"});
    ASSERT_FALSE(deaf.path().empty());
    const auto r = RunProgram("zrv41k-cli", {"ota", "send", "--port", deaf.path(), "--table", table.string(),
                                             "--control-id", "1234567N12", "--type", "1", "--update-table"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Transmit Error !\n");
    EXPECT_TRUE(ReadFile(table) == before) << "the pager never got what type 1 would write back";
}

TEST(CliOtaTable, TheTableGivesTheTimeIdAndTheKey) {
    TempDir dir;
    const auto table = SampleTable(dir);
    test::EnsureQtApplication();
    test::EncoderSimProcess sim;
    ASSERT_FALSE(sim.path().empty());
    const auto r = RunProgram("zrv41k-cli", {"ota", "send", "--port", sim.path(), "--table", table.string(),
                                             "--time", "--time-date", "09122026143005", "--control-id",
                                             "1234567N12", "--type", "2", "--encrypt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "0004321N11 09122026143005");
    EXPECT_EQ(requests[1].substr(0, 11), "1234567N12 ");
    EXPECT_EQ(test::SplitLines(r.out)[1].find("Date="), 0u);

    // --encrypt is --ssn with the table's secret serial number.
    ConfigImage image = StartupImage();
    int count = 0;
    ASSERT_TRUE(LoadTableFile(table, image, count).ok);
    auto withKey = [&](std::vector<std::string> extra) {
        auto args = BuildArgs(table, {2});
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram("zrv41k-cli", args).out;
    };
    const std::string fromTable = withKey({"--encrypt"});
    EXPECT_EQ(fromTable, withKey({"--ssn", SsnText(image)}));
    EXPECT_NE(fromTable, withKey({}));
}

TEST(CliOtaTable, BadTablesAndMissingTablesAreRefused) {
    TempDir dir;
    const auto bad = dir / "short.tbl";
    test::WriteFile(bad, "not a table");
    auto r = RunProgram("zrv41k-cli", BuildArgs(bad, {2}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Msg61: The file size is error !\n");
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(ReadFile(bad), "not a table");
    for (const char* option : {"--update-table", "--encrypt"}) {
        r = RunProgram("zrv41k-cli", {"ota", "build", "--type", "254", "--control-id", "1234567N12", option});
        EXPECT_EQ(r.exitCode, 2) << option;
        EXPECT_NE(r.err.find("--table"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace zrv::ota
