#include "core/tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zrv {

int DividerFrequency(int divider) { return (500000 / (divider + 1)) / 2; }

std::vector<ToneStep> MelodySteps(std::string_view text) {
    std::vector<ToneStep> steps;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t run = 1;
        while (i + run < text.size() && text[i + run] == text[i]) ++run;
        const int frequency = text[i] == '0' ? 0 : DividerFrequency(MelodyNoteByte(text[i]));
        steps.push_back({frequency, static_cast<int>(run) * kMelodyCharacterMs});
        i += run;
    }
    return steps;
}

std::vector<ToneStep> TuneSteps(const std::vector<TunePair>& tune) {
    std::vector<ToneStep> steps;
    for (const TunePair& pair : tune) {
        if (pair.divider == 0 && pair.units == 0) break;
        const int frequency = pair.divider == 0 ? 0 : DividerFrequency(pair.divider);
        steps.push_back({frequency, pair.units * kTuneUnitMs});
    }
    return steps;
}

std::vector<std::int16_t> ToneSamples(const ToneStep& step, int sampleRate, std::int16_t amplitude) {
    if (sampleRate <= 0 || step.durationMs <= 0) return {};
    const auto count = static_cast<std::size_t>(static_cast<long long>(step.durationMs) * sampleRate / 1000);
    std::vector<std::int16_t> samples(count, 0);
    if (step.frequencyHz <= 0 || step.frequencyHz * 2 >= sampleRate) return samples;
    const std::size_t ramp = std::min<std::size_t>(count / 4, static_cast<std::size_t>(sampleRate / 500));  // 2 ms
    const double phaseStep = 2.0 * std::numbers::pi * step.frequencyHz / sampleRate;
    for (std::size_t n = 0; n < count; ++n) {
        double gain = 1.0;
        if (ramp > 0 && n < ramp) gain = static_cast<double>(n) / ramp;
        if (ramp > 0 && count - 1 - n < ramp) gain = std::min(gain, static_cast<double>(count - 1 - n) / ramp);
        samples[n] = static_cast<std::int16_t>(std::lround(amplitude * gain * std::sin(phaseStep * n)));
    }
    return samples;
}

}  // namespace zrv
