#include "core/frequency.h"

#include <charconv>
#include <cstdio>
#include <span>
#include <stdexcept>

#include "core/image_layout.h"
#include "core/option_fields.h"

namespace zrv {
namespace L = layout;

namespace {

constexpr std::uint32_t kLimitScale = 10000;        // item text digits -> 100 Hz units
constexpr std::uint64_t kIfOffsetHz = 21400000;     // subtracted before the N division
constexpr std::uint64_t kLowBandReference = 20950000;
constexpr std::uint64_t kHighBandReference = 12800000;
constexpr std::uint32_t kIncdPerDivisor = 128;
constexpr std::uint8_t kLowBandRTail = 0x11;

std::optional<std::uint32_t> threeDigits(std::string_view text, std::size_t at) {
    if (text.size() < at + 3) return std::nullopt;
    std::uint32_t v = 0;
    auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + 3, v, 10);
    if (ec != std::errc() || end != text.data() + at + 3) return std::nullopt;
    return v;
}

void store3(ConfigImage& image, std::size_t offset, std::uint32_t value) {
    image.setByte(offset, static_cast<std::uint8_t>(value >> 16));
    image.setByte(offset + 1, static_cast<std::uint8_t>(value >> 8));
    image.setByte(offset + 2, static_cast<std::uint8_t>(value));
}
std::uint32_t read3(const ConfigImage& image, std::size_t offset) {
    return (std::uint32_t{image.byte(offset)} << 16) | (std::uint32_t{image.byte(offset + 1)} << 8) |
           image.byte(offset + 2);
}
void store4(ConfigImage& image, std::size_t offset, std::uint32_t value) {
    image.setWord(offset, static_cast<std::uint16_t>(value >> 16));
    image.setWord(offset + 2, static_cast<std::uint16_t>(value));
}
std::uint32_t read4(const ConfigImage& image, std::size_t offset) {
    return (std::uint32_t{image.word(offset)} << 16) | image.word(offset + 2);
}

void storeStep(ConfigImage& image, std::uint32_t stepHz) {
    image.setByte(L::kChannelStep, static_cast<std::uint8_t>(stepHz / 1000));
    image.setByte(L::kStepFraction, static_cast<std::uint8_t>((stepHz / 10) % 100));
}

int encodeLowBand(ConfigImage& image, int band, const RasterPlan& p) {
    const std::uint64_t m = band == 0 ? 1 : 2;
    storeStep(image, p.stepHz);
    image.setWord(L::kIncd, static_cast<std::uint16_t>(p.divisor * kIncdPerDivisor));
    const std::uint64_t r1 = p.stepHz / p.divisor;
    const std::uint64_t r = (kLowBandReference / r1) * m / 4;  // trunc(q x 0.25 x M)
    image.setByte(L::kPllR, static_cast<std::uint8_t>(r >> 8));
    image.setByte(L::kPllR + 1, static_cast<std::uint8_t>(r));
    image.setByte(L::kPllRLastByte, kLowBandRTail);
    SetBaseFrequency(image, p.base);
    const std::uint64_t n = (((std::uint64_t{p.base} * 100 - kIfOffsetHz) / m) / (r1 / m)) << 7;
    store3(image, L::kPllN, static_cast<std::uint32_t>(n));
    return static_cast<int>(m);
}

int encodeHighBand(ConfigImage& image, const RasterPlan& p) {
    SetBaseFrequency(image, p.base);
    const std::uint64_t r1 = std::uint64_t{p.stepHz} * 2 / p.divisor;
    storeStep(image, p.stepHz);
    image.setByte(L::kIncdLowByte, static_cast<std::uint8_t>(p.divisor));
    const std::uint64_t n = ((std::uint64_t{p.base} * 100 - kIfOffsetHz) / r1) << 1;
    store3(image, L::kPllN, static_cast<std::uint32_t>(n));
    const std::uint64_t m = 5;
    const std::uint64_t r = (m * kHighBandReference / r1) * 2 + 1;
    store3(image, L::kPllR, static_cast<std::uint32_t>(r & 0xFFFF));
    return static_cast<int>(m);
}

std::string hex(std::uint32_t value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, value);
    return buf;
}

}  // namespace

BandLimits BandLimitsFromItemText(std::string_view itemText) {
    BandLimits l;
    const auto lo = threeDigits(itemText, 0);
    const auto hi = threeDigits(itemText, 4);
    if (!lo || !hi) return l;
    l.lower = *lo * kLimitScale;
    l.upper = *hi * kLimitScale;
    l.lowerText = std::string(itemText.substr(0, 3));
    l.upperText = std::string(itemText.substr(4, 3));
    return l;
}

BandLimits BandLimitsOf(int band) {
    if (band < 0 || band >= kBandCount) throw std::out_of_range("band outside 0..2");
    return BandLimitsFromItemText(kBands[static_cast<std::size_t>(band)].itemText);
}

std::optional<RasterPlan> RasterPlanFor(int band, std::uint32_t f, bool firmwareUnknown) {
    using E = FrequencyEncoding;
    struct Row {
        std::uint32_t modulus;   // f must be a multiple (in 100 Hz) ...
        std::uint32_t remainder; // ... leaving this remainder
        RasterPlan plan;
    };
    static constexpr Row kBand0[] = {
        {125, 0, {E::LowBand, 1300000, 12500, 1}},
        {25, 0, {E::LowBand, 1300125, 2500, 1}},
    };
    static constexpr Row kBand0FirmwareUnknown[] = {
        {250, 0, {E::LowBand, 1300000, 25000, 2}},
        {250, 125, {E::LowBand, 1300125, 25000, 4}},
        {50, 0, {E::LowBand, 1300125, 5000, 2}},
    };
    static constexpr Row kBand1[] = {
        {125, 0, {E::LowBand, 4000000, 12500, 1}},
        {50, 0, {E::LowBand, 4000000, 5000, 1}},
    };
    // (H - 928012500) mod 12500 = 0, i.e. f leaves 125 modulo 125: any multiple of 125.
    static constexpr Row kBand2[] = {
        {125, 0, {E::HighBand, 9280125, 25000, 4}},
    };
    std::span<const Row> rows;
    switch (band) {
        case 0: rows = firmwareUnknown ? std::span<const Row>(kBand0FirmwareUnknown)
                                       : std::span<const Row>(kBand0); break;
        case 1: rows = kBand1; break;
        case 2: rows = kBand2; break;
        default: return std::nullopt;
    }
    for (const auto& r : rows)
        if (f % r.modulus == r.remainder) return r.plan;
    return std::nullopt;
}

int EncodeFrequency(ConfigImage& image, int band, const RasterPlan& plan) {
    if (plan.encoding == FrequencyEncoding::HighBand) return encodeHighBand(image, plan);
    return encodeLowBand(image, band, plan);
}

std::optional<int> BandFromImage(const ConfigImage& image) {
    if (image.byte(L::kIncdLowByte) == 0) return 0;
    switch (image.GetImageBits(L::kBaseFrequencyBandByte, 4, 4)) {
        case 1: return 0;
        case 3:
        case 4: return 1;
        case 8: return 2;
        default: return std::nullopt;
    }
}

std::uint32_t BaseFrequency(const ConfigImage& image) { return read4(image, L::kBaseFrequency); }
void SetBaseFrequency(ConfigImage& image, std::uint32_t f) { store4(image, L::kBaseFrequency, f); }
std::uint32_t ChannelFrequency(const ConfigImage& image) { return read4(image, L::kChannelFrequency); }
void SetChannelFrequency(ConfigImage& image, std::uint32_t f) { store4(image, L::kChannelFrequency, f); }

Message FrequencyRangeMessage(const BandLimits& limits) {
    return Message{"Msg50",
                   "Frequency setting error(" + limits.lowerText + "0000 < = Frequency < =" +
                       limits.upperText + "0000 )",
                   MsgIcon::Exclamation,
                   {limits.lowerText, limits.upperText}};
}

Message FrequencyNotNumericMessage() {
    return Message{"Msg1", "Please insert a decimal numeric !", MsgIcon::Exclamation, {}};
}

Outcome CheckFrequencyKey(char32_t ch) {
    if (ch < 0x20 || (ch >= U'0' && ch <= U'9')) return Outcome::Ok();
    return Outcome::Refused(FrequencyNotNumericMessage());
}

FrequencyOutcome ChangeBand(ConfigImage& image, int band, bool firmwareUnknown) {
    if (band < 0 || band >= kBandCount) throw std::out_of_range("band outside 0..2");
    ApplyBaudItem(image, kBaud1200);
    return StoreChannelFrequency(image, band, kBands[static_cast<std::size_t>(band)].preset, firmwareUnknown);
}

bool NarrowBand(const ConfigImage& image) { return fields::kNarrowband.Get(image) != 0; }
void StoreNarrowBand(ConfigImage& image, bool checked) { fields::kNarrowband.Set(image, checked ? 1 : 0); }

FrequencyOutcome StoreChannelFrequency(ConfigImage& image, int band, std::string_view boxText,
                                       bool firmwareUnknown) {
    FrequencyOutcome out;
    if (boxText.empty()) return out;
    if (band < 0 || band >= kBandCount) throw std::out_of_range("band outside 0..2");
    std::uint64_t f = 0;
    auto [end, ec] = std::from_chars(boxText.data(), boxText.data() + boxText.size(), f, 10);
    const bool digitsOnly = end == boxText.data() + boxText.size();
    if (!digitsOnly || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        out.status = FrequencyStatus::NotANumber;
        out.message = FrequencyNotNumericMessage();
        return out;
    }
    const BandLimits limits = BandLimitsOf(band);
    if (ec == std::errc::result_out_of_range || f < limits.lower || f > limits.upper) {
        out.status = FrequencyStatus::OutOfRange;
        out.message = FrequencyRangeMessage(limits);
        return out;
    }
    const auto freq = static_cast<std::uint32_t>(f);
    const auto plan = RasterPlanFor(band, freq, firmwareUnknown);
    if (!plan) {
        out.status = FrequencyStatus::OffRaster;
        out.message =
            Message{"Msg51", "Please input numeric between 0 - 25!", MsgIcon::Exclamation, {}};
        return out;
    }
    out.bandFactor = EncodeFrequency(image, band, *plan);
    SetChannelFrequency(image, freq);
    out.status = FrequencyStatus::Stored;
    return out;
}

std::string BaseFrequencyText(const ConfigImage& image, int band) {
    if (band == 0) return "-------";
    return std::to_string(BaseFrequency(image));
}

std::string IncdText(const ConfigImage& image) { return hex(image.word(L::kIncd), 2); }
std::string PllRText(const ConfigImage& image) { return hex(read3(image, L::kPllR), 6); }
std::string PllNText(const ConfigImage& image) { return hex(read3(image, L::kPllN), 6); }

std::string ChannelSpacingText(const ConfigImage& image) {
    const unsigned raw = image.byte(L::kStepFraction);
    const unsigned fraction = (raw == 25 || raw == 50) ? raw : 0;
    const double khz = (image.byte(L::kChannelStep) * 100.0 + fraction) / 100.0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%gKHz", khz);
    return buf;
}

int BaudItemFromImage(const ConfigImage& image) {
    switch (fields::kBaudCode.Get(image)) {
        case 2: return 0;
        case 3: return 1;
        default: return 2;
    }
}

void ApplyBaudItem(ConfigImage& image, int item) {
    if (item < 0 || item >= static_cast<int>(kBaudRates.size()))
        throw std::out_of_range("baud item outside 0..2");
    const auto& b = kBaudRates[static_cast<std::size_t>(item)];
    fields::kBaudCode.Set(image, b.code);
    image.setByte(L::kBaudByte1, b.byte1);
    image.setByte(L::kBaudByte2, b.byte2);
}

}  // namespace zrv
