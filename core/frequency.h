#pragma once
/// \file
/// The computing half of the frequency group: the band table, band limits,
/// the channel raster of each band, the synthesizer encodings (PLL N, PLL R,
/// INCD, channel step), the band-from-image rule and the texts of the PLL
/// strip. Frequencies are whole numbers in units of 100 Hz (1530000 is
/// 153.0000 MHz).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"
#include "core/notifier.h"
#include "core/outcome.h"

namespace zrv {

/// One entry of the band selector.
struct Band {
    std::string_view itemText;  ///< e.g. "130-180MHz-GP(RoHS)"
    std::string_view preset;    ///< frequency put into the box on a band change
};

inline constexpr std::array<Band, 3> kBands = {{
    {"130-180MHz-GP(RoHS)", "1530000"},
    {"400-499MHz", "4540125"},
    {"929-932MHz", "9310125"},
}};
inline constexpr int kBandCount = static_cast<int>(kBands.size());

/// Band limits as read from the item text: characters 1-3 and 5-7, each
/// times 10000. The three-character texts are kept for the Msg50 text.
struct BandLimits {
    std::uint32_t lower = 0;
    std::uint32_t upper = 0;
    std::string lowerText;  ///< e.g. "130"
    std::string upperText;  ///< e.g. "180"
};
/// Limits from a band item text; an item text too short or not numeric
/// there gives limits 0..0 (nothing fits).
BandLimits BandLimitsFromItemText(std::string_view itemText);
/// Limits of band \p band (0..2); throws std::out_of_range otherwise.
BandLimits BandLimitsOf(int band);

enum class FrequencyEncoding { LowBand, HighBand };

/// One row of the raster table: the encoding and its inputs B, S, D.
struct RasterPlan {
    FrequencyEncoding encoding = FrequencyEncoding::LowBand;
    std::uint32_t base = 0;    ///< B, 100 Hz units
    std::uint32_t stepHz = 0;  ///< S in Hz (12.5 kHz = 12500)
    std::uint32_t divisor = 1; ///< D
};

/// The first raster row of \p band that \p frequency lies on, or nothing.
/// \p firmwareUnknown chooses the plan of band 0.
std::optional<RasterPlan> RasterPlanFor(int band, std::uint32_t frequency, bool firmwareUnknown);

/// Writes the synthesizer words, step, fraction and base frequency of
/// \p plan for \p band; returns the band factor the encoding used.
int EncodeFrequency(ConfigImage& image, int band, const RasterPlan& plan);

/// Band from image: 0 when byte 0x0D is 0; otherwise by the high nibble of
/// byte 0x65: 1 -> 0, 3 or 4 -> 1, 8 -> 2; nothing for any other nibble
/// (the selector keeps its band).
std::optional<int> BandFromImage(const ConfigImage& image);

std::uint32_t BaseFrequency(const ConfigImage& image);
void SetBaseFrequency(ConfigImage& image, std::uint32_t frequency);
std::uint32_t ChannelFrequency(const ConfigImage& image);
void SetChannelFrequency(ConfigImage& image, std::uint32_t frequency);

/// Outcome of the exit check of the frequency box.
enum class FrequencyStatus {
    Stored,      ///< on the band and raster; everything written
    Empty,       ///< empty box: nothing written, show the stored value again
    NotANumber,  ///< not a decimal number: Msg1, nothing written
    OutOfRange,  ///< Msg50 with the limit texts as arguments, nothing written
    OffRaster,   ///< Msg51, nothing written
};

struct FrequencyOutcome {
    FrequencyStatus status = FrequencyStatus::Empty;
    std::optional<Message> message;  ///< what to show, when something failed
    int bandFactor = 0;              ///< set when Stored
    bool ok() const { return status == FrequencyStatus::Stored; }
};

/// The exit check and storage of the frequency box for \p band (0..2): range
/// check against the band limits, raster check, encoding, and the channel
/// frequency into 0x68..0x6B. Nothing is written unless the result is Stored.
FrequencyOutcome StoreChannelFrequency(ConfigImage& image, int band, std::string_view boxText,
                                       bool firmwareUnknown);

/// The Msg50 message for the limits of \p limits.
Message FrequencyRangeMessage(const BandLimits& limits);
/// Msg1, the refusal of a character or text that is not a decimal number.
Message FrequencyNotNumericMessage();
/// The frequency box's keystroke filter: control characters and digits
/// pass; any other character is refused with Msg1 and is not typed.
Outcome CheckFrequencyKey(char32_t ch);

/// A band change: 1200 bps (code and timing bytes), then the band's preset
/// frequency checked and stored as the box's exit check does.
FrequencyOutcome ChangeBand(ConfigImage& image, int band, bool firmwareUnknown);

/// The narrowband box: 0x457 bit 5, 1 = checked.
bool NarrowBand(const ConfigImage& image);
void StoreNarrowBand(ConfigImage& image, bool checked);

// Texts of the PLL strip ------------------------------------------------------

/// lblBfreq: the base frequency in decimal for bands 1 and 2, "-------" for band 0.
std::string BaseFrequencyText(const ConfigImage& image, int band);
/// lblINCD: 0x0C..0x0D in upper-case hexadecimal, at least two digits.
std::string IncdText(const ConfigImage& image);
/// lblPLLR: 0x09..0x0B, six upper-case hexadecimal digits.
std::string PllRText(const ConfigImage& image);
/// lblPLLN: 0x05..0x07, six upper-case hexadecimal digits.
std::string PllNText(const ConfigImage& image);
/// lblChannel: the channel spacing, e.g. "12.5KHz", "25KHz".
std::string ChannelSpacingText(const ConfigImage& image);

// Baud rate -------------------------------------------------------------------

struct BaudRate {
    std::string_view itemText;
    unsigned code;        ///< 0x1403 bits 4-5
    std::uint8_t byte1;   ///< 0x1400
    std::uint8_t byte2;   ///< 0x1401
};
inline constexpr std::array<BaudRate, 3> kBaudRates = {{
    {"512 bps", 2, 0x01, 0x07},
    {"1200 bps", 3, 0x02, 0x11},
    {"2400 bps", 1, 0x05, 0x1F},
}};
inline constexpr int kBaud1200 = 1;  ///< index of "1200 bps", forced by a band change

/// The baud item the image shows: code 2 -> 0, 3 -> 1, any other -> 2.
int BaudItemFromImage(const ConfigImage& image);
/// Stores baud item \p item (0..2): code and the two timing bytes.
void ApplyBaudItem(ConfigImage& image, int item);

}  // namespace zrv
