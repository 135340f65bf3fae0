// OTA command bit layouts built from explicit inputs.
#include <gtest/gtest.h>

#include <numeric>

#include "core/image_layout.h"
#include "ota/blowfish.h"
#include "ota/crc16.h"
#include "ota/ota_command.h"
#include "tests/support/test_support.h"

namespace zrv::ota {
namespace {

namespace L = zrv::layout;

/// Reads up to 32 bits at \p offset.
std::uint32_t Field(const BitStream& s, std::size_t offset, int width) {
    std::uint32_t v = 0;
    while (width > 0) {
        const int n = std::min(width, 8);
        v = (v << n) | s.ReadBits(offset, n);
        offset += static_cast<std::size_t>(n);
        width -= n;
    }
    return v;
}

/// The 18 bytes of a prompt carried at \p offset.
std::string PromptAt(const BitStream& s, std::size_t offset) {
    std::string out;
    for (std::size_t i = 0; i < 18; ++i) out += static_cast<char>(s.ReadBits(offset + 8 * i, 8));
    return out;
}

constexpr std::size_t kPayload = 104;  // after header and type byte

class OtaCommandTest : public ::testing::Test {
protected:
    OtaCommandTest() : builder(notifier) {
        window.chkDateField = false;
        window.edtDateField = "1412301530";
        window.edtPSN = "ABCDE";
        builder.setClock([] {
            std::tm t{};
            t.tm_year = 2026 - 1900;
            t.tm_mon = 11;
            t.tm_mday = 9;
            t.tm_hour = 6;
            t.tm_min = 7;
            return t;
        });
    }
    /// Builds like the send sequence does: sets the type, clears the text.
    bool Build(int type) {
        builder.currentType = type;
        builder.headerText.clear();
        return builder.BuildCommand(type, window, main, alert, image);
    }
    const BitStream& s() const { return builder.stream(); }

    test::RecordingNotifier notifier;
    OtaBuilder builder;
    OtaWindowFields window;
    OtaMainFields main;
    OtaAlertFields alert;
    ConfigImage image;
};

TEST_F(OtaCommandTest, HeaderCarriesSerialTwiceManualDatePackageAndBatch) {
    builder.transmitFlag = false;
    builder.packageNumber = 12;
    builder.batchNumber = 7;
    ASSERT_TRUE(Build(kTypeRawData));
    EXPECT_EQ(Field(s(), 0, 20), 0xABCDEu);
    const std::uint32_t date[] = {0x14, 0x12, 0x30, 0x15, 0x30};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Field(s(), 20 + 8 * i, 8), date[i]) << i;
    EXPECT_EQ(Field(s(), 60, 20), 0xABCDEu);
    EXPECT_EQ(Field(s(), 80, 8), 0x12u);
    EXPECT_EQ(Field(s(), 88, 8), 0x07u);
    EXPECT_EQ(Field(s(), 96, 8), 254u);
    EXPECT_EQ(builder.packageNumber, 13);
    EXPECT_EQ(builder.headerText.rfind("Date=1412301530  SN=ABCDE  Pkg No.=12  Bth No.=07  OTA Type=254  CRC=", 0), 0u)
        << builder.headerText;
}

TEST_F(OtaCommandTest, SystemDateUsesTheClockAndPackageNumberWraps) {
    window.chkDateField = true;
    window.edtDateField = "garbage";
    builder.packageNumber = 255;
    ASSERT_TRUE(Build(kTypeRawData));
    const std::uint32_t date[] = {0x26, 0x12, 0x09, 0x06, 0x07};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Field(s(), 20 + 8 * i, 8), date[i]) << i;
    EXPECT_EQ(Field(s(), 80, 8), 0x55u);
    EXPECT_EQ(builder.packageNumber, 0);
    EXPECT_EQ(builder.headerText.rfind("Date=2612090607  SN=ABCDE  Pkg No.=55", 0), 0u) << builder.headerText;
}

TEST_F(OtaCommandTest, ManualDatePairsThatAreNoNumbersCountAsZero) {
    window.edtDateField = "14x2305";  // short and with a bad pair
    ASSERT_TRUE(Build(kTypeRawData));
    const std::uint32_t date[] = {0x14, 0x00, 0x30, 0x05, 0x00};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Field(s(), 20 + 8 * i, 8), date[i]) << i;
    EXPECT_NE(builder.headerText.find("Date=14x2305  SN="), std::string::npos);
}

TEST_F(OtaCommandTest, RawDataWithAndWithoutData) {
    builder.transmitFlag = false;
    window.edtStart = "1F0";
    ASSERT_TRUE(Build(kTypeRawData));
    // Empty data: length 0 and the start address only, then the CRC.
    EXPECT_EQ(Field(s(), kPayload, 8), 0u);
    EXPECT_EQ(Field(s(), kPayload + 8, 12), 0x1F0u);
    EXPECT_EQ(s().count(), 148u);  // 140 bits + 8 fill bits up to 20 + 128
    EXPECT_NE(builder.headerText.find("  Fill Bits=8"), std::string::npos);
    EXPECT_EQ(builder.headerText.find("Fill Norvex2"), std::string::npos);

    window.edtData = "0A1b";
    window.edtLength = "4";
    ASSERT_TRUE(Build(kTypeRawData));
    EXPECT_EQ(Field(s(), kPayload, 8), 4u);
    EXPECT_EQ(Field(s(), kPayload + 20, 16), 0x0A1Bu);
    EXPECT_EQ(builder.dataString().size(), s().count() / 4);
}

TEST_F(OtaCommandTest, CrcCoversTheSecondSerialNumberButNotTheFirst) {
    builder.transmitFlag = false;
    ASSERT_TRUE(Build(kTypeRawData));
    const std::uint32_t crc1 = Field(s(), 124, 16);
    window.edtPSN = "12345";
    builder.packageNumber = 0;
    ASSERT_TRUE(Build(kTypeRawData));
    const std::uint32_t crc2 = Field(s(), 124, 16);
    EXPECT_NE(crc1, crc2);  // the second copy at bits 60..79 is covered

    // Flip only the first copy by hand: the CRC over bits 20.. stays.
    BitStream copy = s();
    BitStream changed;
    changed.AppendBits(0xF, 4);
    changed.AppendBits(0xFF, 8);
    changed.AppendBits(0xFF, 8);
    for (std::size_t b = 20; b < 124; ++b) changed.AppendBits(copy.ReadBits(b, 1), 1);
    EXPECT_EQ(CommandCrc(changed), crc2);
}

TEST_F(OtaCommandTest, OptionSetIs137BitsAndItsFirstFillOvershoots) {
    builder.transmitFlag = false;
    ASSERT_TRUE(Build(2));
    // 96 + 8 + 137 = 241: the CRC starts there, off a byte boundary.
    EXPECT_EQ(s().count(), 241u + 16 + 20);
    EXPECT_NE(builder.headerText.find("  Fill Bits=19"), std::string::npos) << builder.headerText;
    const std::uint32_t crc = Field(s(), 241, 16);
    EXPECT_NE(builder.headerText.find("  CRC=" + Hex2(crc >> 8) + Hex2(crc)), std::string::npos);

    builder.transmitFlag = true;
    ASSERT_TRUE(Build(2));
    // Second fill from 277 to the next multiple of 20 (280): 3 bits, one nibble.
    EXPECT_EQ(s().count(), 281u);
    EXPECT_NE(builder.headerText.find("  Fill Norvex2=3"), std::string::npos);
}

TEST_F(OtaCommandTest, OptionSetFieldsInTheirPlaces) {
    // Widths of the 41 rows, in order.
    const int widths[] = {4, 1, 1, 1, 1, 1, 4, 4, 4, 4, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 4,
                          1, 1, 1, 8, 3, 1, 8, 3, 1, 16, 8, 4, 1, 3, 1, 1, 1, 1, 2, 32};
    ASSERT_EQ(std::accumulate(std::begin(widths), std::end(widths), 0), 137);
    std::size_t at[42];
    at[1] = kPayload;
    for (int r = 1; r < 41; ++r) at[r + 1] = at[r] + static_cast<std::size_t>(widths[r - 1]);
    auto row = [&](int r) { return Field(s(), at[r], widths[r - 1]); };

    alert.cboPersonal = 4;
    main.cboCtl7 = 1;
    main.chkBeepAndVibration = true;
    main.chkCapMusicType = false;
    main.chkDirectShowLampOn = true;
    main.cboSLC = 3;
    main.cboBatLev2 = 0;
    main.cboBatLev1 = 2;
    main.cboBatLev0 = 5;
    window.cboAlertType = 3;
    main.cboLng = 3;
    main.cboPriType = 11;
    main.cboGroupType = 0;
    main.cboRDC = 6;
    main.chkReminder = true;
    main.txtReminder = "300";
    main.cboTone = 13;
    main.chkMenu = {true, false, false, true, false, true, false};  // 0..6
    main.cboSource = 1;
    for (int i = 0; i < 15; ++i) alert.cboMailAlert[static_cast<std::size_t>(i)] = i % 4;
    ASSERT_TRUE(Build(2));

    EXPECT_EQ(row(1), 0u);   // (4 + 1) mod 5
    EXPECT_EQ(row(2), 1u);
    EXPECT_EQ(row(3), 0u);   // checked, inverted
    EXPECT_EQ(row(4), 1u);   // unchecked, inverted
    EXPECT_EQ(row(5), 1u);
    EXPECT_EQ(row(7), 5u);   // 2 * 3 - 1
    EXPECT_EQ(row(8), 13u);
    EXPECT_EQ(row(9), 11u);
    EXPECT_EQ(row(10), 8u);
    EXPECT_EQ(row(15), 3u);
    EXPECT_EQ(row(21), 8u);  // German
    EXPECT_EQ(row(22), 1u);  // the music-type box again
    EXPECT_EQ(row(25), 0x12u);
    EXPECT_EQ(row(26), 0u);
    EXPECT_EQ(row(28), 0x01u);
    EXPECT_EQ(row(29), 6u);
    EXPECT_EQ(row(31), 300u);
    EXPECT_EQ(row(32), 0x14u);
    EXPECT_EQ(row(33), 0b0110u);  // menus 3, 2, 1, 0 inverted
    EXPECT_EQ(row(35), 0b101u);   // menus 6, 5, 4 inverted
    EXPECT_EQ(row(40), 3u);       // (2 - 1) * 2 + 1
    // Pairs (1,0) (3,2) .. (13,12), then 0 and entry 14; entry i is i % 4.
    std::uint32_t mail = 0;
    for (int odd = 1; odd < 15; odd += 2) mail = (mail << 4) | static_cast<std::uint32_t>((odd % 4) << 2 | ((odd - 1) % 4));
    mail = (mail << 4) | (14 % 4);
    EXPECT_EQ(row(41), mail);

    main.cboSource = 0;
    ASSERT_TRUE(Build(2));
    EXPECT_EQ(row(40), 2u);
    main.cboSource = 2;
    main.chkReminder = false;
    main.txtReminder = "not looked at";
    main.cboLng = 4;
    ASSERT_TRUE(Build(2));
    EXPECT_EQ(row(40), 1u);
    EXPECT_EQ(row(31), 0u);
    EXPECT_EQ(row(21), 0u);  // Swedish goes out as 0

    // Every check box of the option set, all unchecked and then all checked:
    // a box sent as its state goes out as 0 then 1, an inverted one as 1 then 0.
    const int stateRows[] = {5, 12, 13, 14, 18, 19, 20};
    const int invertedRows[] = {3, 4, 11, 16, 17, 22, 23, 24, 27, 30, 34, 36, 37, 38, 39};
    for (const bool checked : {false, true}) {
        for (bool* box : {&main.chkBeepAndVibration, &main.chkCapMusicType, &main.chkDirectShowLampOn,
                          &main.chkDiscardErrMsg, &main.chkCtl12, &main.chkCtl0, &main.chkPushKeyLampOn,
                          &main.chkKeyboardInterlock, &main.chkCtl10, &main.chkCtl11, &main.chkRDKeyPagerOff,
                          &main.chkRDKeyDel, &main.chkDuplicateMsgDetect, &main.chkPriMusicType,
                          &main.chkGupMusicType, &main.chkReminderSelectTone, &main.chkCtl16,
                          &main.chkMailDropAlert, &main.chkMoveToMemo, &main.chkCtl18, &main.chkCtl15})
            *box = checked;
        main.chkMenu.fill(checked);
        ASSERT_TRUE(Build(2));
        for (int r : stateRows) EXPECT_EQ(row(r), checked ? 1u : 0u) << "row " << r;
        for (int r : invertedRows) EXPECT_EQ(row(r), checked ? 0u : 1u) << "row " << r;
        EXPECT_EQ(row(33), checked ? 0u : 0xFu);
        EXPECT_EQ(row(35), checked ? 0u : 0x7u);
    }
}

TEST_F(OtaCommandTest, CapcodesCarryDigitsFunctionBitsAndSwitchOffDisabledOnes) {
    for (int n = 0; n < 7; ++n) main.edtCap[static_cast<std::size_t>(n)] = "123456" + std::to_string(n);
    main.cboMusicType = {0, 11, 0, 0, 0, 0, 0};
    image.setByte(L::kCapcodeOnBitmap, 0b1011'1111);  // capcode 2 (n = 1) off
    image.setByte(L::kPriorityFlags, 0b1010'0101);
    for (std::size_t i = 0; i < 4; ++i) {
        image.setByte(L::kDisplayCodeLow + i, static_cast<std::uint8_t>(i));      // n = 0: 0 1 2 3
        image.setByte(L::kDisplayCodeLow + 4 + i, 2);                             // n = 1: off
        image.setByte(L::kDisplayCodeLow + 8 + i, 5);                             // n = 2: all Disable
    }
    const std::uint8_t types[] = {0, 1, 0xFF, 15};
    for (std::size_t i = 0; i < 4; ++i) image.setByte(L::kMessageTypeLow + i, types[i]);
    builder.transmitFlag = false;
    ASSERT_TRUE(Build(1));

    // 580 bits before the CRC, 596 with it: already on a block boundary.
    EXPECT_EQ(s().count(), 596u);
    EXPECT_NE(builder.headerText.find("  Fill Bits=0"), std::string::npos);
    const std::size_t c0 = kPayload, c1 = kPayload + 68, c2 = kPayload + 136;
    EXPECT_EQ(Field(s(), c0, 28), 0x1234560u);
    // Capcode 1: priority A..D = 1 0 1 0, display codes 0..3.
    EXPECT_EQ(Field(s(), c0 + 28, 16), 0b1000'0001'1010'0011u);
    EXPECT_EQ(Field(s(), c0 + 44, 16), 0x01FFu);  // Group (0xFF) goes out as 15
    EXPECT_EQ(Field(s(), c0 + 60, 8), 0x01u);
    // Capcode 2 is off: priority bits 0 1 0 1 and display code 5 for all four.
    EXPECT_EQ(Field(s(), c1 + 28, 16), 0b0101'1101'0101'1101u);
    EXPECT_EQ(Field(s(), c1 + 60, 8), 0x12u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(image.byte(L::kDisplayCodeLow + 4 + i), 5) << i;
    // Capcode 3 was on with four display codes of 5: now switched off.
    EXPECT_EQ(Field(s(), c2 + 28, 16) & 0x7777u, 0x5555u);
    EXPECT_EQ(image.byte(L::kCapcodeOnBitmap), 0b1001'1111);
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(OtaCommandTest, SourcePromptsArePaddedTakenFromTheEndAndWrittenBack) {
    main.edtPrompt[32] = {"", 0x2CC};
    main.edtPrompt[33] = {"", 0x4B8};
    image.setByte(0x2CC, 0x37);
    image.setByte(0x4B8, 0x2F);
    main.chkSource[1] = true;
    ASSERT_TRUE(Build(3));
    EXPECT_EQ(Field(s(), kPayload, 3), 1u);
    EXPECT_EQ(Field(s(), kPayload + 3, 1), 0u);
    EXPECT_EQ(PromptAt(s(), kPayload + 4), std::string(18, ' '));
    EXPECT_EQ(PromptAt(s(), kPayload + 4 + 144), std::string(18, ' '));
    for (std::size_t rec : {std::size_t{0x2CC}, std::size_t{0x4B8}}) {
        EXPECT_EQ(image.byte(rec) & 0x0F, 0);
        EXPECT_EQ(image.byte(rec + 1), 18);
        for (std::size_t i = 0; i < 18; ++i) EXPECT_EQ(image.byte(rec + 2 + i), ' ');
    }
    EXPECT_EQ(image.byte(0x2CC) & 0xF0, 0x30);  // the high nibble stays

    // Type 10 (selector 2): prompts 34 and 35; a 25-character text goes out
    // as its last 18, and the pager character set applies to the stream only.
    image.SetImageBits(L::kCharsetCode, 0, 8, 4);  // German
    main.edtPrompt[34] = {"ABCDEFGHIJKLMNOPQRSTUVWXY   ", 0x18C};
    main.edtPrompt[35] = {"Gr\xFC\xDF" "e", 0x4A4};
    main.chkSource[2] = true;
    ASSERT_TRUE(Build(10));
    EXPECT_EQ(Field(s(), kPayload, 4), 0b0001u);
    EXPECT_EQ(PromptAt(s(), kPayload + 4), "HIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(PromptAt(s(), kPayload + 148), std::string("Gr\x7D\x7E" "e") + std::string(13, ' '));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image.bytes()[0x4A4 + 2]), 5), "Gr\xFC\xDF" "e");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image.bytes()[0x18C + 2]), 18), "HIJKLMNOPQRSTUVWXY");

    // A prompt field without a record, or with one past the image, is sent
    // but touches nothing.
    main.edtPrompt[34] = {"NO RECORD", std::nullopt};
    main.edtPrompt[35] = {"BAD RECORD", kImageSize - 10};
    const ConfigImage before = image;
    ASSERT_TRUE(Build(10));
    EXPECT_EQ(PromptAt(s(), kPayload + 4), "NO RECORD" + std::string(9, ' '));
    EXPECT_TRUE(image == before);
}

TEST_F(OtaCommandTest, LogoCommandLengthsWithAndWithoutEncryption) {
    main.cboLogo = 2;
    main.edtPrompt[0] = {"WELCOME", 0xF98};
    builder.transmitFlag = false;
    ASSERT_TRUE(Build(17));
    EXPECT_EQ(Field(s(), kPayload, 4), 6u);  // French
    EXPECT_EQ(PromptAt(s(), kPayload + 4), "WELCOME" + std::string(11, ' '));
    EXPECT_EQ(s().count(), 276u);
    const BitStream viewPlain = s();

    builder.transmitFlag = true;
    builder.packageNumber = 0;
    ASSERT_TRUE(Build(17));
    EXPECT_EQ(s().count(), 280u);
    const BitStream sendPlain = s();

    window.chkEncypt = true;
    window.edtSSN = "0123456789ABCDEF";
    builder.packageNumber = 0;
    ASSERT_TRUE(Build(17));
    EXPECT_EQ(s().count(), 340u);
    EXPECT_EQ(builder.dataString().size(), 85u);
    EXPECT_EQ(Field(s(), 0, 20), Field(sendPlain, 0, 20));  // public serial number in clear
    BitStream back = s();
    DecipherStream(back, KeyFromSecretSerial(window.edtSSN));
    for (std::size_t b = 0; b < 340; b += 4)
        ASSERT_EQ(back.ReadBits(b, 4), sendPlain.ReadBits(b, 4)) << b;  // fills included, zero past 280

    builder.transmitFlag = false;
    builder.packageNumber = 0;
    ASSERT_TRUE(Build(17));
    EXPECT_EQ(s().count(), 276u);
    back = s();
    DecipherStream(back, KeyFromSecretSerial(window.edtSSN));
    for (std::size_t b = 0; b < 276; b += 4) ASSERT_EQ(back.ReadBits(b, 4), viewPlain.ReadBits(b, 4)) << b;
}

TEST_F(OtaCommandTest, LastCommandCarriesPromptsBatchAndPackageCount) {
    builder.batchNumber = 99;
    window.Edit1 = "ok";
    window.chkCmd = {};
    window.chkCmd[1] = window.chkCmd[2] = window.chkCmd[17] = true;
    builder.transmitFlag = false;
    ASSERT_TRUE(Build(kTypeLast));
    EXPECT_EQ(PromptAt(s(), kPayload), "ok" + std::string(16, ' '));
    EXPECT_EQ(PromptAt(s(), kPayload + 144), "transmit error    ");
    EXPECT_EQ(Field(s(), kPayload + 288, 8), 0x99u);
    EXPECT_EQ(Field(s(), kPayload + 296, 8), 0x03u);
    EXPECT_EQ(builder.packageNumber, 3);
    EXPECT_EQ(builder.batchNumber, 0);  // 99 + 1 mod 100

    window.chkPkg = false;
    window.edtPkg = "x7";
    ASSERT_TRUE(Build(kTypeLast));
    EXPECT_EQ(Field(s(), kPayload + 288, 8), 0x00u);
    EXPECT_EQ(Field(s(), kPayload + 296, 8), 0x00u);
    EXPECT_EQ(builder.packageNumber, 0);
    EXPECT_EQ(builder.batchNumber, 1);
}

TEST_F(OtaCommandTest, ConversionErrorsStopTheBuildAndChangeNothing) {
    for (int n = 0; n < 7; ++n) main.edtCap[static_cast<std::size_t>(n)] = "0000008";
    main.edtCap[3] = "12x4567";
    image.setByte(L::kCapcodeOnBitmap, 0);  // capcodes 1..3 would be stored as Disable first
    const ConfigImage before = image;
    builder.packageNumber = 4;
    EXPECT_FALSE(Build(1));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].english, "'x' is not a valid integer value");
    EXPECT_TRUE(image == before);
    EXPECT_EQ(builder.packageNumber, 4);

    window.edtPSN = "12G45";
    EXPECT_FALSE(Build(kTypeRawData));
    EXPECT_EQ(notifier.shown.back().english, "'12G45' is not a valid integer value");

    window.edtPSN = "00001";
    main.chkReminder = true;
    main.txtReminder = "1O0";
    EXPECT_FALSE(Build(2));
    EXPECT_EQ(notifier.shown.back().english, "'1O0' is not a valid integer value");

    window.edtData = "0Z";
    window.edtLength = "2";
    EXPECT_FALSE(Build(kTypeRawData));
    EXPECT_EQ(notifier.shown.back().english, "'Z' is not a valid integer value");
    EXPECT_EQ(builder.packageNumber, 4);

    // A start address short of its three digits is refused, not filled up
    // with copies of itself.
    window.edtData.clear();
    window.edtLength = "0";
    for (const char* start : {"1", "1F", ""}) {
        window.edtStart = start;
        EXPECT_FALSE(Build(kTypeRawData)) << start;
        EXPECT_EQ(notifier.shown.back().english, "'" + std::string(start) + "' is not a valid integer value");
    }
    EXPECT_EQ(builder.packageNumber, 4);
}

TEST_F(OtaCommandTest, TypesNeedingMissingPromptFieldsAreRefused) {
    for (int type : {6, 9, 13, 16}) {
        const std::size_t before = notifier.shown.size();
        EXPECT_FALSE(Build(type)) << type;
        EXPECT_EQ(notifier.shown.size(), before + 1) << type;
    }
    EXPECT_EQ(builder.packageNumber, 0);
}

TEST_F(OtaCommandTest, TimeMessageHasSevenBcdBytes) {
    window.edtDate = "09122026143005";
    window.edtTMID = "1234567N11";
    builder.BuildTimeMessage(window);
    EXPECT_EQ(builder.stream().count(), 56u);
    EXPECT_EQ(builder.dataString(), "09122026143005");
    EXPECT_EQ(builder.TimeMessageLine(window), "TIME RIC:Capcode = 1234567N11   Format = 09122026143005");
    window.edtDate = "0912x0261430";  // bad year, missing seconds
    builder.BuildTimeMessage(window);
    EXPECT_EQ(builder.dataString(), "09120000143000");
}

}  // namespace
}  // namespace zrv::ota
