#include "core/pager_charset.h"

#include <array>
#include <vector>

#include "core/option_fields.h"

namespace zrv {
namespace L = layout;

namespace {

struct Pair {
    std::uint8_t pc;
    std::uint8_t pager;
};

constexpr std::array<Pair, 10> kSpanish = {{{0xA1, 0x23}, {0xC7, 0x5B}, {0xD1, 0x5C},
                                            {0xBA, 0x5D}, {0xAA, 0x5E}, {0xBF, 0x60},
                                            {0xE7, 0x7B}, {0xF1, 0x7C}, {0xDC, 0x7D},
                                            {0xFC, 0x7E}}};
constexpr std::array<Pair, 9> kFrench = {{{0xA3, 0x23}, {0xE0, 0x40}, {0xB0, 0x5B},
                                          {0xE7, 0x5C}, {0xA7, 0x5D}, {0xE9, 0x7B},
                                          {0xF9, 0x7C}, {0xE8, 0x7D}, {0xAF, 0x7E}}};
constexpr std::array<Pair, 8> kGerman = {{{0xA7, 0x40}, {0xC4, 0x5B}, {0xD6, 0x5C},
                                          {0xDC, 0x5D}, {0xE4, 0x7B}, {0xF6, 0x7C},
                                          {0xFC, 0x7D}, {0xDF, 0x7E}}};
constexpr std::array<Pair, 11> kSwedish = {{{0xA3, 0x23}, {0xC8, 0x40}, {0xC4, 0x5B},
                                            {0xD6, 0x5C}, {0xC5, 0x5D}, {0xDC, 0x5E},
                                            {0xE9, 0x60}, {0xE4, 0x7B}, {0xF6, 0x7C},
                                            {0xE5, 0x7D}, {0xFC, 0x7E}}};

std::span<const Pair> mapFor(int code) {
    switch (code) {
        case kCharsetSpanish: return kSpanish;
        case kCharsetFrench: return kFrench;
        case kCharsetGerman: return kGerman;
        case kCharsetSwedish: return kSwedish;
        default: return {};
    }
}

// A 256-entry table per direction, so a whole image converts in one pass.
using Table = std::array<std::uint8_t, 256>;
Table buildTable(int code, bool toPager) {
    Table t{};
    for (unsigned b = 0; b < 256; ++b) t[b] = static_cast<std::uint8_t>(b);
    for (const auto& p : mapFor(code)) {
        if (toPager) t[p.pc] = p.pager;
        else t[p.pager] = p.pc;
    }
    return t;
}

std::vector<L::Span> buildTextRanges() {
    std::vector<L::Span> r = {
        {L::kPromptFlashOnly, L::kPromptRecordSize},
        {L::kPromptOutOfRange, L::kPromptRecordSize},
        L::kMenuPromptBlock,
    };
    // Text bytes of the 32 records that start at the menu prompts: the 32nd
    // record reaches past the prompt block, adding 0x36E..0x37F.
    for (std::size_t k = 0; k < L::kMenuPromptCount + 1; ++k)
        r.push_back({L::kMenuPrompts + k * L::kPromptRecordSize + L::kPromptTextOffset,
                     L::kPromptRecordSize - L::kPromptTextOffset});
    const L::Span rest[] = {
        L::kHistoryPromptBlock,
        {L::kPromptKeyUnlocked, 4 * L::kPromptRecordSize},
        {L::kPromptCapcodeSet, L::kPromptRecordSize},
        {L::kPromptSetCapcode, L::kPromptRecordSize},
        {L::kNewsPrompts, L::kNewsPromptCount * L::kPromptRecordSize},
        L::kSourceTextBlock,
        {L::kLogoLine1, L::kBatteryLowTone - L::kLogoLine1},  // logo lines and their filler
        {L::kPromptDiscrete, L::kPromptRecordSize},
        {L::kSourcePages, kImageSize - L::kSourcePages},
    };
    r.insert(r.end(), std::begin(rest), std::end(rest));
    return r;
}

void convert(ConfigImage& image, bool toPager) {
    const Table t = buildTable(PagerCharsetCode(image), toPager);
    auto& bytes = image.bytes();
    // Each map is idempotent, so a byte covered by two ranges is safe.
    for (const auto& s : TextRanges())
        for (std::size_t i = s.offset; i < s.end(); ++i) bytes[i] = t[bytes[i]];
}

}  // namespace

std::uint8_t ToPagerCharset(int charsetCode, std::uint8_t pc) {
    for (const auto& p : mapFor(charsetCode))
        if (p.pc == pc) return p.pager;
    return pc;
}

std::uint8_t FromPagerCharset(int charsetCode, std::uint8_t pager) {
    for (const auto& p : mapFor(charsetCode))
        if (p.pager == pager) return p.pc;
    return pager;
}

int PagerCharsetCode(const ConfigImage& image) {
    return static_cast<int>(fields::kCharacterSetCode.Get(image));
}

std::span<const L::Span> TextRanges() {
    static const std::vector<L::Span> ranges = buildTextRanges();
    return ranges;
}

void ConvertTextsToPager(ConfigImage& image) { convert(image, true); }
void ConvertTextsFromPager(ConfigImage& image) { convert(image, false); }

}  // namespace zrv
