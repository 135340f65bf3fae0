// The editor rules of core/ with typed texts and any image: frequency and
// band, capcodes, prompts and source lines, melodies, alert lengths,
// battery thresholds, encryption keys and the read/write password. A rule
// that refuses an edit leaves the image as it was.
#include <cstdint>
#include <stdexcept>

#include "core/alert_lengths.h"
#include "core/battery_thresholds.h"
#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "core/default_image.h"
#include "core/encryption_keys.h"
#include "core/frequency.h"
#include "core/music.h"
#include "core/prompts.h"
#include "core/rw_password.h"
#include "core/tone.h"
#include "fuzz/fuzz_support.h"

using namespace zrv;

namespace {

void RequireRefusalKeeps(const Outcome& outcome, const ConfigImage& before, const ConfigImage& image) {
    if (!outcome.ok) fuzz::Require(image == before, "a refused edit leaves the image");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    ConfigImage image = StartupImage();
    // Some inputs start from a scrambled image, as a hostile table file gives.
    if (in.flag()) {
        const unsigned n = in.below(64);
        for (unsigned i = 0; i < n; ++i) image.setByte(in.word() % kImageSize, in.byte());
    }
    const ConfigImage before = image;
    const unsigned rule = in.below(10);
    const int a = in.byte(), b = in.byte(), c = in.byte();
    const std::string text(in.rest());
    try {
        switch (rule) {
        case 0: {
            const auto outcome = StoreChannelFrequency(image, a % kBandCount, text, b & 1);
            if (!outcome.ok() && !outcome.message) break;
            (void)ChannelSpacingText(image);
            (void)BaseFrequencyText(image, a % kBandCount);
            break;
        }
        case 1: (void)ChangeBand(image, a % kBandCount, b & 1); (void)IncdText(image); (void)PllNText(image); break;
        case 2: {
            const int n = a % 48;
            RequireRefusalKeeps(StoreCapcodeText(image, n, text), before, image);
            (void)CapcodeText(image, n);
            (void)RaiseCapcode(image, n, b & 1);
            break;
        }
        case 3: {
            const int tag = a % kPromptBoxCount;
            RequireRefusalKeeps(StorePromptText(image, tag, text), before, image);
            (void)ShownPromptText(image, tag);
            (void)AlignText(text, b % 40, static_cast<Alignment>(c % 3));
            break;
        }
        case 4:
            (void)StoreSourceLine(image, a % kMaxSourcePages, b % kSourcesPerPage, c % 2, text);
            (void)SourceLine(image, a % kMaxSourcePages, b % kSourcesPerPage, c % 2);
            break;
        case 5: {
            const std::size_t offset = MelodyOffset(a % kMusicPageCount, b % kMusicRowsPerPage);
            RequireRefusalKeeps(StoreMelody(image, offset, text), before, image);
            (void)MelodyText(ReadMelody(image, offset));
            (void)EncodeMelody(text);
            (void)PaddedMelodyText(text);
            (void)MelodySteps(text);
            break;
        }
        case 6:
            (void)AlertLengthStrip(image);
            (void)PersonalAlertItem(image);
            for (int i = 0; i < 15; ++i) (void)MailDropAlertItem(image, i);
            break;
        case 7: {
            const auto items = ThresholdItems(image);
            (void)items;
            // A threshold out of order is kept with a warning to correct it.
            (void)StoreThreshold(image, a % 6, b % kThresholdListCount);
            break;
        }
        case 8: RequireRefusalKeeps(StoreKeyText(image, a % kKeyCount, text).outcome, before, image); break;
        default:
            RequireRefusalKeeps(StoreRwPassword(image, text), before, image);
            (void)RwPasswordText(image);
            break;
        }
    } catch (const std::out_of_range&) {
        // The rules' own index check: a combo item or page outside its list.
    }
    return 0;
}
