// Read, write and verify of a whole pager against the board simulator, and
// the repeated write with capcode auto-increment.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/capcodes.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/pager_normalisation.h"
#include "link/programming_session.h"
#include "link/qt_serial_line.h"
#include "tests/link/boardsim_process.h"

using namespace zrv;
using namespace zrv::link;
using zrv::test::Boardsim;
namespace L = zrv::layout;

namespace {

// A simulator holding the pager written with \p pagerImage (or blank when
// none is given), and a link that has found it.
struct PagerRig {
    explicit PagerRig(std::vector<std::string> args, const ConfigImage* pagerImage = nullptr)
        : board(withTable(std::move(args), pagerImage)),
          link(line, notifier, {}, &sink) {
        link.setPortOverride({board.path()});
        link.setTiming(test::FastTiming());
        link.setFrequencyRecheck(ImageFrequencyRecheck(notifier));
        if (!link.ProbeBoard()) throw std::runtime_error("no board");
    }
    std::vector<std::string> withTable(std::vector<std::string> args, const ConfigImage* image) {
        if (image) {
            test::WriteMemoryFile(dir / "pager.tbl", *image);
            args.insert(args.begin(), {"--table", (dir / "pager.tbl").string()});
        }
        return args;
    }
    bool wrote() {
        const auto lines = board.log();
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.rfind("write ", 0) == 0; });
    }
    test::TempDir dir;
    Boardsim board;
    QtSerialLine line;
    test::RecordingNotifier notifier;
    test::RecordingSink sink;
    ProgrammerLink link;
};

std::string serialOf(const ConfigImage& image) { return PagerSerialNumber(image); }

// The sample table as a write sends it: texts in the pager character set.
ConfigImage pagerForm(ConfigImage image) {
    ConvertTextsToPager(image);
    return image;
}

constexpr std::size_t kNewsText = L::kNewsPrompts + L::kPromptTextOffset;

}  // namespace

TEST(PagerTransfer, WrittenTableComesBackByteExact) {
    ConfigImage table = test::SampleImage();
    table.SetImageBits(L::kCharsetCode, 0, 8, 4);  // German pager characters
    table.setByte(kNewsText, 0xFC);                 // ü
    table.setByte(kImageSize - 1, 0x5A);
    ConfigImage other = test::SampleImage();
    SetCapcode(other, 0, 1234567);
    PagerRig rig({"--serial", "SN1234567890"}, &other);

    ConfigImage image = pagerForm(table);
    ASSERT_EQ(ProgramWrite(rig.link, rig.sink, image), WriteOutcome::Success);
    EXPECT_EQ(rig.sink.statuses.back(), "done:Write Success!");
    EXPECT_TRUE(rig.notifier.keys().empty());
    const ConfigImage pager = rig.board.memory();
    EXPECT_EQ(pager, image) << "the pager holds the image exactly as written";
    EXPECT_EQ(pager.byte(kNewsText), 0x7D) << "ü in the German pager set";
    EXPECT_EQ(pager.byte(L::kWriteMarker), 1);
    EXPECT_EQ(pager.word(L::kChecksum), ImageChecksum(pager));
    EXPECT_EQ(serialOf(pager), "SN1234567890") << "the pager keeps its serial number";
    EXPECT_EQ(CapcodeAt(pager, 0), CapcodeAt(table, 0));

    ConfigImage readBack;
    readBack.fill(0, kImageSize, 0x33);
    int capcodeCount = 48;
    ASSERT_TRUE(ProgramRead(rig.link, rig.sink, readBack, capcodeCount));
    EXPECT_EQ(rig.sink.statuses.back(), "done:Read Success!");
    ConfigImage expected = pager;
    int expectedCount = 0;
    NormaliseAfterRead(expected, expectedCount);
    ConvertTextsFromPager(expected);
    expected.setByte(L::kStatus530, 0);
    expected.setByte(L::kStatus531, 0);
    EXPECT_EQ(readBack, expected);
    EXPECT_EQ(readBack.byte(kNewsText), 0xFC);
    EXPECT_EQ(readBack.byte(kImageSize - 1), 0x5A) << "the whole range up to 0x55FF is copied";
    EXPECT_EQ(readBack.byte(L::kCapcodeCount), 16);
    EXPECT_EQ(capcodeCount, 16);
    EXPECT_EQ(rig.sink.firmware, "FirmVer : 5.2");
    EXPECT_EQ(rig.sink.rangeLast, 0x55FF);
    EXPECT_EQ(rig.sink.positions.back(), 0x5600);
}

TEST(PagerTransfer, ReadRefusesWrongModelAndWrongChecksumLeavingTheImage) {
    const ConfigImage table = test::SampleImage();
    struct Case { std::vector<std::string> args; bool withTable; const char* key; const char* text; };
    const Case cases[] = {
        {{}, false, "Msg16", "This pager is not ZR-V41K !"},           // blank: empty model text
        {{"--identity", "ZR-V41"}, true, "Msg16", "This pager is not ZR-V41K !"},
        {{"--identity", "ZR-V41L"}, true, "Msg16", "This pager is not ZR-V41K !"},
        {{"--bad-checksum"}, true, "Msg19", "CheckSum Error!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + std::string(" ") + (c.args.empty() ? "blank" : c.args.back()));
        PagerRig rig(c.args, c.withTable ? &table : nullptr);
        ConfigImage image = test::SampleImage();
        const ConfigImage before = image;
        int capcodeCount = 48;
        EXPECT_FALSE(ProgramRead(rig.link, rig.sink, image, capcodeCount));
        EXPECT_EQ(image, before);
        EXPECT_EQ(capcodeCount, 48);
        ASSERT_EQ(rig.notifier.shown.size(), 1u);
        EXPECT_EQ(rig.notifier.shown[0].key, c.key);
        EXPECT_EQ(rig.notifier.shown[0].english, c.text);
        EXPECT_EQ(rig.sink.statuses.back(), "done:Read Error!");
    }
}

TEST(PagerTransfer, IdentityWithASuffixPasses) {
    const ConfigImage table = test::SampleImage();
    PagerRig rig({"--identity", "ZR-V41K-B2.0xy"}, &table);
    ConfigImage image;
    int capcodeCount = 0;
    EXPECT_TRUE(ProgramRead(rig.link, rig.sink, image, capcodeCount));
    EXPECT_TRUE(rig.notifier.keys().empty());
}

TEST(PagerTransfer, UnconfirmedModelIsWrittenOnlyAfterYes) {
    {
        PagerRig rig({});  // blank pager
        ConfigImage image = pagerForm(test::SampleImage());
        rig.notifier.answers = {false};
        EXPECT_EQ(ProgramWrite(rig.link, rig.sink, image), WriteOutcome::WriteError);
        EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg10"});
        EXPECT_EQ(rig.notifier.asked[0].english,
                  "This model of pager can not be sure ! Are you sure to overwrite it ?");
        EXPECT_EQ(rig.sink.statuses.back(), "done:Write Error!");
        EXPECT_FALSE(rig.wrote());
    }
    PagerRig rig({});
    ConfigImage image = pagerForm(test::SampleImage());
    rig.notifier.answers = {true};
    EXPECT_EQ(ProgramWrite(rig.link, rig.sink, image), WriteOutcome::Success);
    const ConfigImage pager = rig.board.memory();
    EXPECT_EQ(serialOf(pager), "Qant0000000 ") << "a blank serial area gets the stand-in number";
    EXPECT_TRUE(SerialNumberValid(pager));
    EXPECT_TRUE(HasModelIdentity(pager.bytes()));
}

TEST(PagerTransfer, SerialNumberKeptRepairedOrTakenFromTheImage) {
    const ConfigImage table = test::SampleImage();
    struct Case { std::vector<std::string> args; bool keep; std::string expected; };
    const Case cases[] = {
        {{"--serial", "PAGER0000042"}, true, "PAGER0000042"},
        {{"--zero-serial"}, true, "Qant0000000 "},   // all 0x00: sum 0 is not a serial
        {{"--blank-serial"}, true, "Qant0000000 "},
        {{"--serial", "PAGER0000042"}, false, "IMAGE000001 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front() + (c.keep ? " keep" : " scanned"));
        PagerRig rig(c.args, &table);
        ConfigImage image = test::SampleImage();
        ASSERT_TRUE(StorePagerSerialNumber(image, "IMAGE000001 "));
        image.setWord(L::kPagerSerialSum, 0x1111);  // stale sum: the write recomputes it
        image = pagerForm(image);
        rig.link.KeepPagerSerial = c.keep;
        ASSERT_EQ(ProgramWrite(rig.link, rig.sink, image), WriteOutcome::Success);
        const ConfigImage pager = rig.board.memory();
        EXPECT_EQ(serialOf(pager), c.expected);
        EXPECT_TRUE(SerialNumberValid(pager));
        EXPECT_EQ(serialOf(image), c.expected) << "the image holds what was written";
    }
}

TEST(PagerTransfer, VerifyIgnoresTheWriteMarkerAndNamesEachDifference) {
    test::TempDir dir;
    ConfigImage image = pagerForm(test::SampleImage());
    ConfigImage pager = image;
    pager.setByte(L::kWriteMarker, static_cast<std::uint8_t>(image.byte(L::kWriteMarker) ^ 1));
    test::WriteMemoryFile(dir / "same.bin", pager);
    pager.setByte(0x3E1, 'X');
    pager.setByte(L::kCapcodeCount, static_cast<std::uint8_t>(image.byte(L::kCapcodeCount) + 8));
    pager.setByte(0x005, static_cast<std::uint8_t>(pager.byte(0x005) + 1));
    test::WriteMemoryFile(dir / "differs.bin", pager);

    // The link's verify compares the image as it is (the write's own verify);
    // the verify of a file (ProgramVerify) is tested with the command line.
    {
        PagerRig rig({"--memory", (dir / "same.bin").string()});
        EXPECT_TRUE(rig.link.VerifyPager(image));
        EXPECT_EQ(rig.sink.differences, "");
    }
    // Identify, start and 172 blocks are answered; the next verify loses the board.
    PagerRig rig({"--memory", (dir / "differs.bin").string(), "--vanish-after", "174"});
    EXPECT_FALSE(rig.link.VerifyPager(image));
    EXPECT_EQ(rig.link.VerifyDifferences(), ":005:3E1:1246");
    EXPECT_EQ(rig.sink.differences, ":005:3E1:1246");
    EXPECT_TRUE(rig.notifier.keys().empty());

    EXPECT_FALSE(rig.link.VerifyPager(image));
    EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg6"});
    EXPECT_EQ(rig.link.VerifyDifferences(), "") << "a verify that read nothing names no address";
}

TEST(PagerTransfer, FirmwareByteChoosesTheRasterPlanOfTheWrite) {
    struct Case { const char* frequency; int firmware; std::uint32_t pllN; std::uint16_t incd;
                  std::uint32_t base; bool unknown; const char* text; };
    const Case cases[] = {
        {"1530000", 255, 0x10F800, 0x0100, 1300000, true, "FirmVer : 25.5"},  // 25 kHz, D 2
        {"1530125", 255, 0x21F100, 0x0200, 1300125, true, "FirmVer : 25.5"},  // 25 kHz, D 4
        {"1530050", 255, 0x54DA80, 0x0100, 1300125, true, "FirmVer : 25.5"},  // 5 kHz, D 2
        {"1530000", 12, 0x10F800, 0x0080, 1300000, false, "FirmVer : 1.2"},   // 12.5 kHz, D 1
        {"1530125", 52, 0x10F800, 0x0080, 1300000, false, "FirmVer : 5.2"},   // 12.5 kHz, D 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.frequency) + " firmware " + std::to_string(c.firmware));
        ConfigImage table = test::SampleImage();
        ASSERT_TRUE(StoreChannelFrequency(table, 0, c.frequency, false).ok());
        PagerRig rig({"--firmware", std::to_string(c.firmware)}, &table);
        ConfigImage image = pagerForm(table);
        ASSERT_EQ(ProgramWrite(rig.link, rig.sink, image), WriteOutcome::Success);
        const ConfigImage pager = rig.board.memory();
        const std::uint32_t pllN = (pager.byte(L::kPllN) << 16) | pager.word(L::kPllN + 1);
        EXPECT_EQ(pllN, c.pllN);
        EXPECT_EQ(pager.word(L::kIncd), c.incd);
        EXPECT_EQ(BaseFrequency(pager), c.base);
        EXPECT_EQ(ChannelFrequency(pager), std::stoul(c.frequency));
        EXPECT_EQ(pager.byte(L::kFirmwareVersion), c.firmware) << "the pager keeps its firmware byte";
        EXPECT_EQ(rig.link.FirmwareUnknown, c.unknown);
        EXPECT_EQ(rig.sink.firmware, c.text);
    }
}

TEST(PagerTransfer, FrequencyOffTheFirmwaresRasterStopsTheWrite) {
    ConfigImage table = test::SampleImage();
    // 153.0025 MHz lies only on the 2.5 kHz raster, which firmware 0xFF lacks.
    ASSERT_TRUE(StoreChannelFrequency(table, 0, "1530025", false).ok());
    PagerRig rig({"--firmware", "255"}, &table);
    const ConfigImage before = rig.board.memory();
    ConfigImage image = pagerForm(table);
    PrepareForWrite(image);
    const ConfigImage unchanged = image;
    EXPECT_FALSE(rig.link.WritePager(image));
    EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg51"});
    EXPECT_FALSE(rig.wrote());
    EXPECT_EQ(rig.board.memory(), before);
    EXPECT_EQ(image, unchanged) << "neither the pager's serial nor its firmware byte was taken";
}

TEST(CapcodeIncrement, RaisesUpToTheLargestCapcodeThenTells) {
    ConfigImage image = test::SampleImage();
    test::RecordingNotifier notifier;
    SetCapcode(image, 9, 2097150);  // page 1, second field
    EXPECT_TRUE(IncrementCapcode(image, 1, notifier, 1));
    EXPECT_EQ(CapcodeAt(image, 9), 2097151u);
    EXPECT_FALSE(IncrementCapcode(image, 1, notifier, 1));
    EXPECT_EQ(CapcodeAt(image, 9), 2097151u);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].key, "Msg25");
    EXPECT_EQ(notifier.shown[0].english, "Capcode 2 > 2097151 so can not be increase!");
    EXPECT_EQ(notifier.shown[0].args, std::vector<std::string>{"2"});

    // The raised value passes the capcode field's check: 6 becomes 7, but a
    // blank slot (0) is not raised to a capcode below 7.
    SetCapcode(image, 0, 6);
    EXPECT_TRUE(IncrementCapcode(image, 0, notifier));
    EXPECT_EQ(CapcodeAt(image, 0), 7u);
    SetCapcode(image, 1, 0);
    EXPECT_FALSE(IncrementCapcode(image, 1, notifier));
    EXPECT_EQ(CapcodeAt(image, 1), 0u);
    ASSERT_EQ(notifier.shown.size(), 2u);
    EXPECT_EQ(notifier.shown[1].key, "Msg48");
    EXPECT_EQ(notifier.shown[1].english, "Please insert a number between 0000007 to 2097151 !");
}

TEST(RepeatedWriteMode, EachSuccessRaisesTheCapcodesAndAVerifyFailureKeepsThem) {
    const ConfigImage table = test::SampleImage();
    PagerRig rig({"--stuck", std::to_string(0x1234)}, &table);
    ConfigImage image = pagerForm(table);
    SetCapcode(image, 0, 2097150);
    SetCapcode(image, 1, 1000);
    RepeatedWrite repeated(rig.link, rig.sink, rig.notifier, image, true, true);

    EXPECT_EQ(repeated.firstCapcodeLabel(), " 1st capcode : 2097150");
    ASSERT_EQ(repeated.cycle(), WriteOutcome::Success);
    EXPECT_EQ(rig.sink.statuses.back(), "done:Write Success !");
    EXPECT_EQ(CapcodeAt(rig.board.memory(), 0), 2097150u) << "the pager got this cycle's capcode";
    EXPECT_EQ(CapcodeAt(image, 0), 2097151u);
    EXPECT_EQ(CapcodeAt(image, 1), 1001u);
    EXPECT_EQ(rig.sink.positions.back(), 0);

    ASSERT_EQ(repeated.cycle(), WriteOutcome::Success);
    EXPECT_EQ(CapcodeAt(rig.board.memory(), 1), 1001u);
    EXPECT_EQ(CapcodeAt(image, 0), 2097151u);
    EXPECT_EQ(CapcodeAt(image, 1), 1002u);
    EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg25"});
    EXPECT_EQ(repeated.secondCapcodeLabel(), " 2nd capcode : 0001002");

    image.setByte(0x1234, static_cast<std::uint8_t>(image.byte(0x1234) ^ 0xFF));  // the pager cannot take it
    EXPECT_EQ(repeated.cycle(), WriteOutcome::VerifyError);
    EXPECT_EQ(rig.sink.statuses.back(), "done:Verify Error !");
    EXPECT_EQ(rig.link.VerifyDifferences(), ":1234");
    EXPECT_EQ(CapcodeAt(image, 0), 2097151u);
    EXPECT_EQ(CapcodeAt(image, 1), 1002u);
}

TEST(PagerTransfer, ARangeHoldingNoImageAddressReadsNothingAndLeavesTheImage) {
    const ConfigImage table = test::SampleImage();
    PagerRig rig({}, &table);
    const std::pair<std::size_t, std::size_t> ranges[] = {
        {0x5600, kImageSize - 1}, {0x6000, 0xFFFFFF}, {0x200, 0x10}, {0x101, 0x100},
        {SIZE_MAX, SIZE_MAX}};
    for (const auto& [first, last] : ranges) {
        SCOPED_TRACE(std::to_string(first) + ".." + std::to_string(last));
        rig.notifier.clear();
        ConfigImage image = test::SampleImage();
        const ConfigImage before = image;
        EXPECT_FALSE(rig.link.ReadPager(image, first, last));
        EXPECT_EQ(image, before);
        EXPECT_EQ(rig.notifier.keys(), std::vector<std::string>{"Msg6"});
    }
}
