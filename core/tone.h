#pragma once
/// \file
/// What the preview sounds: a melody text or a built-in tune as a list of
/// steps (a frequency, or silence, for a length of time), and the samples
/// of one step. The window's player feeds these to the audio device.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/music.h"

namespace zrv {

/// One step of a preview: \p frequencyHz (0 = silence) for \p durationMs.
struct ToneStep {
    int frequencyHz = 0;
    int durationMs = 0;
    friend bool operator==(const ToneStep&, const ToneStep&) = default;
};

/// Length of one melody character.
inline constexpr int kMelodyCharacterMs = 120;
/// Length of one unit of a built-in tune.
inline constexpr int kTuneUnitMs = 10;

/// The frequency the pager sounds for a note byte or divider \p divider:
/// (500000 div (divider + 1)) div 2 Hz.
int DividerFrequency(int divider);

/// The steps of a melody text (one byte per character, as the box shows
/// it): each run of n equal characters is one step of n x 120 ms, silent
/// for "0", else at the frequency of the character's note byte.
std::vector<ToneStep> MelodySteps(std::string_view text);

/// The steps of a built-in tune up to its closing (0, 0): (0, t) is a
/// pause of t x 10 ms, the gap (0, 1) included; any other pair sounds
/// its divider's frequency for t x 10 ms.
std::vector<ToneStep> TuneSteps(const std::vector<TunePair>& tune);

/// Signed 16-bit mono samples of one step at \p sampleRate: a sine of the
/// step's frequency with short ramps at both ends (no click between notes),
/// or silence for frequency 0 and for frequencies the rate cannot carry.
std::vector<std::int16_t> ToneSamples(const ToneStep& step, int sampleRate, std::int16_t amplitude = 8000);

}  // namespace zrv
