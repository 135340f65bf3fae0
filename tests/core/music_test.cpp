// Alert tones and melodies: selector codes both ways, the melody notation
// and its bytes, the melody boxes' input mode, the reminder duration, the
// alert tone and the built-in preview tunes.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "core/music.h"
#include "core/option_fields.h"
#include "core/option_settings.h"

namespace zrv {
namespace {

constexpr int kTone2 = 2, kMusic1 = 5, kMusic8 = 12, kVibration = 12, kFlashOnly = 13;

TEST(ToneCodes, EachSelectorHasItsOwnCodesBothWays) {
    EXPECT_EQ(ToneCode(ToneSelector::MusicType, kUserMusicItem), 0x08);
    EXPECT_EQ(ToneCode(ToneSelector::ReminderTone, kUserMusicItem), 0x15);
    EXPECT_EQ(ToneCode(ToneSelector::MusicType, kTone2), 0x02);
    EXPECT_EQ(ToneCode(ToneSelector::ReminderTone, kTone2), 0x09);
    EXPECT_EQ(ToneCode(ToneSelector::MusicType, kMusic8), 0x18);
    EXPECT_EQ(ToneCode(ToneSelector::ReminderTone, kMusic8), 0x28);
    EXPECT_EQ(ToneCode(ToneSelector::AlertTone, 0), 0x01);
    EXPECT_EQ(ToneCode(ToneSelector::AlertTone, kVibration), 0x20);
    EXPECT_EQ(ToneCode(ToneSelector::AlertTone, kFlashOnly), 0x31);
    // The reminder's "User" code is the music types' "Music 5": each
    // selector reads its own table.
    EXPECT_EQ(ToneItem(ToneSelector::ReminderTone, 0x15), kUserMusicItem);
    EXPECT_EQ(ToneItem(ToneSelector::MusicType, 0x15), 9);
    for (const ToneSelector s : {ToneSelector::MusicType, ToneSelector::ReminderTone, ToneSelector::AlertTone}) {
        std::set<int> codes;
        for (int item = 0; item < ToneItemCount(s); ++item) {
            const std::uint8_t code = ToneCode(s, item);
            codes.insert(code);
            EXPECT_EQ(ToneItem(s, code), item);
        }
        EXPECT_EQ(codes.size(), static_cast<std::size_t>(ToneItemCount(s)));
        EXPECT_THROW(ToneCode(s, ToneItemCount(s)), std::out_of_range);
        EXPECT_THROW(ToneCode(s, -1), std::out_of_range);
    }
}

TEST(ToneCodes, AStoredCodeOfNoItemShowsNothingAndIsKept) {
    ConfigImage image;
    for (const std::uint8_t code : {0x00, 0x05, 0x19, 0xFF}) {
        image.setByte(kOutOfRangeTypeOffset, code);
        EXPECT_FALSE(ShownToneItem(image, kOutOfRangeTypeOffset, ToneSelector::MusicType)) << int(code);
        EXPECT_EQ(image.byte(kOutOfRangeTypeOffset), code);
    }
    EXPECT_FALSE(ToneItem(ToneSelector::AlertTone, 0x08));  // "User" is no alert tone
}

TEST(MusicRows, RowsMapToCapcodeFunctionBitAndAddresses) {
    EXPECT_EQ(MusicTypeOffset(0, 0), 0x1610u);
    EXPECT_EQ(MusicTypeOffset(1, 5), 0x1610u + 16 + 5);
    EXPECT_EQ(MelodyOffset(0, 0), 0x1A00u);
    EXPECT_EQ(MelodyOffset(2, 3), 0x1A00u + 512 + 48);
    EXPECT_EQ(MelodyOffset(kMusicPageCount - 1, 15) + kMelodyLength, 0x1A00u + 256u * kMusicPageCount);
    EXPECT_EQ(MusicRowCapcode(1, 4), 6);  // page 2, second capcode
    EXPECT_EQ(MusicRowFunctionBit(7), 3);
    EXPECT_THROW(MusicTypeOffset(kMusicPageCount, 0), std::out_of_range);
    EXPECT_THROW(MelodyOffset(0, 16), std::out_of_range);
    EXPECT_THROW(MelodyOffset(-1, 0), std::out_of_range);
}

TEST(MelodyNotation, NotesAreStoredByTheTableAndPaddedWithRests) {
    ConfigImage image;
    image.fill(0xFD9, 16, 0xAA);
    ASSERT_TRUE(StoreMelody(image, kOutOfRangeMelodyOffset, "CDE").ok);
    const MelodyBytes bytes = ReadMelody(image, kOutOfRangeMelodyOffset);
    const MelodyBytes expected{238, 212, 189, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(MelodyText(bytes), "CDE0000000000000");
    EXPECT_EQ(image.byte(kOutOfRangeMelodyOffset + 16), 0);  // the next field is not touched
    const MelodyBytes scale = EncodeMelody("CDEFGABcdefgab01");
    EXPECT_EQ(scale, (MelodyBytes{238, 212, 189, 178, 158, 141, 126, 118, 105, 94, 89, 79, 70, 62, 0, 94}));
}

TEST(MelodyNotation, TextIsTrimmedCutToSixteenAndPadded) {
    EXPECT_EQ(PaddedMelodyText("  ab "), "ab00000000000000");
    EXPECT_EQ(PaddedMelodyText("CDEFGABCDEFGABCDEFG"), "CDEFGABCDEFGABCD");
    EXPECT_EQ(PaddedMelodyText(""), "0000000000000000");
}

TEST(MelodyNotation, ByteNinetyFourIsOnOnlyInAnOnOffMelody) {
    EXPECT_EQ(MelodyText(EncodeMelody("1010")), "1010000000000000");
    EXPECT_EQ(MelodyText(EncodeMelody("1")), "1000000000000000");
    EXPECT_EQ(MelodyText(EncodeMelody("Ce")), "Ce00000000000000");
    // "1" typed next to notes comes back as "e": the melody's bytes decide.
    EXPECT_EQ(MelodyText(EncodeMelody("C1")), "Ce00000000000000");
    EXPECT_EQ(MelodyText(MelodyBytes{}), "0000000000000000");
}

TEST(MelodyNotation, BytesOfNoNoteShowAsSpaces) {
    MelodyBytes bytes{};
    bytes[0] = 238;
    bytes[1] = 0xFF;
    bytes[2] = 95;
    EXPECT_EQ(MelodyText(bytes), "C  0000000000000");
}

TEST(MelodyNotation, TextOutsideTheNotationIsRefusedAndNothingStored) {
    ConfigImage image;
    image.fill(kReminderMelodyOffset, 16, 0x5A);
    for (const char* text : {"CDX", "C D", "h", "12a\xC3\xA9"}) {
        const Outcome outcome = StoreMelody(image, kReminderMelodyOffset, text);
        EXPECT_FALSE(outcome.ok) << text;
        ASSERT_TRUE(outcome.message);
        EXPECT_EQ(outcome.message->key, "Msg77");
    }
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(image.byte(kReminderMelodyOffset + i), 0x5A);
}

std::string Refusal(MelodyInput& input, char32_t ch, std::size_t length = 0) {
    const Outcome o = input.key(ch, length);
    return o.ok ? std::string("ok") : o.message->key;
}

TEST(MelodyInput, FirstOneLocksTheBoxToOnOff) {
    MelodyInput input;
    EXPECT_EQ(Refusal(input, '1'), "ok");
    EXPECT_EQ(input.mode(), MelodyInput::Mode::OnOff);
    EXPECT_EQ(Refusal(input, 'A', 1), "Msg74");
    EXPECT_EQ(Refusal(input, '0', 1), "ok");
    EXPECT_EQ(Refusal(input, '1', 2), "ok");
}

TEST(MelodyInput, FirstNoteLocksTheBoxToNotes) {
    MelodyInput input;
    EXPECT_EQ(Refusal(input, 'A'), "ok");
    EXPECT_EQ(input.mode(), MelodyInput::Mode::Notes);
    EXPECT_EQ(Refusal(input, '1', 1), "Msg55");
    EXPECT_EQ(Refusal(input, 'h', 1), "Msg55");
    EXPECT_EQ(Refusal(input, 'g', 1), "ok");
    EXPECT_EQ(Refusal(input, '0', 2), "ok");
}

TEST(MelodyInput, RestFirstLeavesTheModeOpen) {
    MelodyInput input;
    EXPECT_EQ(Refusal(input, '0'), "ok");
    EXPECT_EQ(input.mode(), MelodyInput::Mode::Undecided);
    EXPECT_EQ(Refusal(input, 'x', 1), "Msg77");
    EXPECT_EQ(Refusal(input, '1', 1), "ok");
    EXPECT_EQ(input.mode(), MelodyInput::Mode::OnOff);
    input.reset();
    EXPECT_EQ(Refusal(input, '0'), "ok");
    EXPECT_EQ(Refusal(input, 'c', 1), "ok");
    EXPECT_EQ(input.mode(), MelodyInput::Mode::Notes);
}

TEST(MelodyInput, SeventeenthCharacterIsRefusedWithTheGeneralMessage) {
    MelodyInput input;
    EXPECT_EQ(Refusal(input, 'C'), "ok");
    EXPECT_EQ(Refusal(input, 'C', 16), "Msg77");
    EXPECT_EQ(input.mode(), MelodyInput::Mode::Undecided);
    const Message m = *input.key('0', 20).message;
    EXPECT_EQ(m.boxCaption(), "ZRV41K");
    EXPECT_EQ(m.english, "Please input A~G\xC2\xA1" "Ba~g \xC2\xA1" "B0 or 1 !");
    EXPECT_EQ(m.icon, MsgIcon::Exclamation);
    EXPECT_EQ(MelodyKeyMessage("Msg55").english, "Please input A~G\xC2\xA1" "Ba~g or 0 !");
    EXPECT_EQ(MelodyKeyMessage("Msg74").boxCaption(), "ZRV41K");
}

TEST(AlertTone, CodeAndKindAreStoredTogether) {
    ConfigImage image;
    StoreAlertTone(image, kVibration);
    EXPECT_EQ(image.byte(kAlertToneOffset), 0x20);
    EXPECT_EQ(image.byte(kAlertToneKindOffset), 1);
    StoreAlertTone(image, kFlashOnly);
    EXPECT_EQ(image.byte(kAlertToneOffset), 0x31);
    EXPECT_EQ(image.byte(kAlertToneKindOffset), 3);
    StoreAlertTone(image, kMusic1 - 1);  // "Music 1" is item 4 of the alert tone
    EXPECT_EQ(image.byte(kAlertToneOffset), 0x11);
    EXPECT_EQ(image.byte(kAlertToneKindOffset), 0);
    EXPECT_THROW(StoreAlertTone(image, kAlertToneItemCount), std::out_of_range);
    EXPECT_EQ(image.byte(kAlertToneOffset), 0x11);
}

TEST(AlertTone, OfferedOnlyWithSetAlertOffAndNoCapcodeMusicTypes) {
    EXPECT_TRUE(AlertToneOffered(true, false));
    EXPECT_FALSE(AlertToneOffered(true, true));
    EXPECT_FALSE(AlertToneOffered(false, false));
    EXPECT_FALSE(AlertToneOffered(false, true));
}

TEST(ReminderDuration, ValuesBothWaysLittleEndian) {
    ConfigImage image;
    image.setByte(0x53E, 0x1D);
    image.setByte(0x53F, 0x00);
    EXPECT_EQ(ReminderDurationItem(image), 2);  // "20 Seconds"
    StoreReminderDuration(image, 5);
    EXPECT_EQ(image.byte(0x53E), 5143 & 0xFF);
    EXPECT_EQ(image.byte(0x53F), 5143 >> 8);
    EXPECT_EQ(ReminderDurationItem(image), 5);
    image.setByte(0x53F, 0x01);  // 5143 with another high byte: no item
    EXPECT_FALSE(ReminderDurationItem(image));
    EXPECT_THROW(StoreReminderDuration(image, 6), std::out_of_range);
}

TEST(OutOfRangeTimer, FifteenMinutesLeavesTheTimerBitsOf3D) {
    ConfigImage image;
    image.setByte(0x3D, 0xFF);
    image.setByte(0x4FC, 0xFF);
    StoreOutOfRangeItem(image, 5);
    EXPECT_EQ(image.byte(0x4FB), 15);
    EXPECT_EQ(image.GetImageBits(0x4FC, 1, 1), 0);
    EXPECT_EQ(image.byte(0x3D), 0xFF);
}

TEST(PreviewTunes, PairCountsAndClosingPair) {
    const std::size_t counts[] = {7, 30, 34, 24, 54, 65, 40, 9, 34, 101, 28, 69};
    for (int item = 1; item <= 12; ++item) {
        const auto& tune = PreviewTune(item);
        EXPECT_EQ(tune.size(), counts[item - 1]) << "item " << item;
        EXPECT_EQ(tune.back(), (TunePair{0, 0})) << "item " << item;
        for (std::size_t i = 0; i + 1 < tune.size(); ++i) {
            EXPECT_NE(tune[i], (TunePair{0, 0})) << "item " << item << " pair " << i;
            // In the melodies of the music tunes two equal notes in a row are
            // parted by the short gap ("Music 6" is a sweep, not a melody).
            if (item >= 5 && item != 8 && item != 10 && tune[i].divider != 0) {
                EXPECT_NE(tune[i].divider, tune[i + 1].divider) << "item " << item;
            }
        }
    }
    EXPECT_THROW(PreviewTune(0), std::out_of_range);
    EXPECT_THROW(PreviewTune(13), std::out_of_range);
}

TEST(PreviewTunes, GivenTunesHaveTheirExactPairs) {
    EXPECT_EQ(PreviewTune(1), (std::vector<TunePair>{{91, 84}, {0, 12}, {91, 84}, {0, 12}, {91, 84}, {0, 12}, {0, 0}}));
    const auto& tone4 = PreviewTune(4);
    EXPECT_EQ(tone4[11], (TunePair{0, 120}));
    EXPECT_EQ(tone4[12], tone4[0]);
    EXPECT_EQ(tone4[22], tone4[10]);
    const auto& music4 = PreviewTune(8);
    EXPECT_EQ(music4[6], (TunePair{112, 40}));
    EXPECT_EQ(music4[7], (TunePair{83, 60}));
    const auto& music6 = PreviewTune(10);
    EXPECT_EQ(music6[0], (TunePair{178, 3}));
    EXPECT_EQ(music6[49], (TunePair{80, 3}));
    EXPECT_EQ(music6[50], (TunePair{80, 7}));
    EXPECT_EQ(music6[99], (TunePair{178, 7}));
}

TEST(Music, CapcodeMusicTypeSwitchWarnsOnlyWhileSetAlertIsOff) {
    ConfigImage image;
    const Outcome quiet = StoreCapcodeMusicType(image, true, false);
    EXPECT_TRUE(quiet.ok);
    EXPECT_FALSE(quiet.message);
    EXPECT_EQ(fields::kCapcodeMusicTypeOff.Get(image), 0u);
    const Outcome off = StoreCapcodeMusicType(image, false, true);
    EXPECT_TRUE(off.ok);
    ASSERT_TRUE(off.message);
    EXPECT_EQ(off.message->key, "Msg76");
    EXPECT_EQ(fields::kCapcodeMusicTypeOff.Get(image), 1u);
    EXPECT_EQ(StoreCapcodeMusicType(image, true, true).message->key, "Msg75");
}

}  // namespace
}  // namespace zrv
