// What the preview sounds: melody and tune steps, and the samples of a step.
#include <gtest/gtest.h>

#include "core/tone.h"

namespace zrv {
namespace {

TEST(ToneSteps, DividerGivesThePagerFrequency) {
    EXPECT_EQ(DividerFrequency(238), 1046);  // "C": 500000 div 239 = 2092, div 2
    EXPECT_EQ(DividerFrequency(62), 3968);   // "b"
    EXPECT_EQ(DividerFrequency(91), 2717);   // "Tone 1"
}

TEST(ToneSteps, EqualCharactersOfAMelodyAreOneNote) {
    const auto steps = MelodySteps("CC0DDD0000000000");
    const std::vector<ToneStep> expected{{1046, 240}, {0, 120}, {DividerFrequency(212), 360}, {0, 1200}};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(MelodySteps("1100"), (std::vector<ToneStep>{{DividerFrequency(94), 240}, {0, 240}}));
    EXPECT_TRUE(MelodySteps("").empty());
}

TEST(ToneSteps, TuneStopsAtItsClosingPairAndPausesAreSilent) {
    const std::vector<TunePair> tune{{91, 84}, {0, 12}, {91, 5}, {0, 1}, {91, 5}, {0, 0}, {50, 50}};
    const std::vector<ToneStep> expected{{2717, 840}, {0, 120}, {2717, 50}, {0, 10}, {2717, 50}};
    EXPECT_EQ(TuneSteps(tune), expected);
    EXPECT_EQ(TuneSteps(PreviewTune(1)).size(), 6u);
}

int ZeroCrossings(const std::vector<std::int16_t>& samples) {
    int crossings = 0;
    int previousSign = 0;
    for (const std::int16_t s : samples) {
        const int sign = (s > 0) - (s < 0);
        if (sign == 0) continue;
        if (previousSign != 0 && sign != previousSign) ++crossings;
        previousSign = sign;
    }
    return crossings;
}

TEST(ToneSamples, FrequencyAndLengthFollowTheStep) {
    constexpr int rate = 48000;
    const auto samples = ToneSamples({1000, 120}, rate);
    ASSERT_EQ(samples.size(), 5760u);
    // 1000 Hz for 120 ms: 120 periods, two crossings each.
    EXPECT_NEAR(ZeroCrossings(samples), 240, 2);
    const auto high = ToneSamples({DividerFrequency(62), 500}, rate);
    EXPECT_NEAR(ZeroCrossings(high), 2 * DividerFrequency(62) / 2, 3);
    int peak = 0;
    for (const std::int16_t s : samples) peak = std::max(peak, std::abs(int{s}));
    EXPECT_GT(peak, 7000);
    EXPECT_LE(peak, 8000);
}

TEST(ToneSamples, SilenceAndUnplayableFrequenciesAreZeros) {
    for (const ToneStep step : {ToneStep{0, 100}, ToneStep{20000, 100}, ToneStep{250000, 100}}) {
        const auto samples = ToneSamples(step, 22050);
        EXPECT_EQ(samples.size(), 2205u);
        for (const std::int16_t s : samples) ASSERT_EQ(s, 0);
    }
    EXPECT_TRUE(ToneSamples({1000, 0}, 48000).empty());
    EXPECT_TRUE(ToneSamples({1000, 100}, 0).empty());
}

}  // namespace
}  // namespace zrv
