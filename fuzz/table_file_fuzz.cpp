// Table files as they come from disk: the Open checks, the load with its
// normalisation, the summaries a window or `info` shows, and a save that
// must reopen as a valid file holding the same image.
#include <cstdint>
#include <fstream>

#include "core/capcode_rules.h"
#include "core/frequency.h"
#include "core/image_rules.h"
#include "core/prompts.h"
#include "core/serial_fields.h"
#include "core/table_file.h"
#include "fuzz/fuzz_support.h"

using namespace zrv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Most inputs are grown to one of the two table sizes, so the checks
    // behind the size check are reached; the rest keep their size.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 3) != 0) bytes.resize((data[0] & 3) == 1 ? 3456 : kImageSize, '\xFF');
    const auto path = fuzz::WorkFolder() / "in.tbl";
    { std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size())); }

    const TableFileResult checked = CheckTableFile(path);
    std::vector<std::uint8_t> stored;
    ReadStoredTableBytes(path, stored);

    ConfigImage image;
    const ConfigImage before = image;
    int capcodeCount = 3;
    const TableFileResult loaded = LoadTableFile(path, image, capcodeCount);
    fuzz::Require(loaded.ok == checked.ok, "load agrees with the checks");
    if (!loaded.ok) {
        fuzz::Require(image == before && capcodeCount == 3, "a refused file leaves the image");
        return 0;
    }
    // Everything the windows and `info` derive from an image.
    for (int n = 0; n < 48; ++n) (void)CapcodeText(image, n);
    for (int band = 0; band < kBandCount; ++band) (void)BaseFrequencyText(image, band);
    (void)BandFromImage(image);
    (void)ChannelSpacingText(image);
    (void)PagerSerialText(image);
    (void)SerialNumberValid(image);

    const auto saved = fuzz::WorkFolder() / "out.tbl";
    ConfigImage toSave = image;
    if (SaveTableFile(saved, toSave, capcodeCount)) return 0;  // the folder is ours: cannot fail
    ConfigImage reopened;
    int reopenedCount = 0;
    const TableFileResult again = LoadTableFile(saved, reopened, reopenedCount);
    fuzz::Require(again.ok, "a saved table reopens");
    ConfigImage expected = toSave;
    int expectedCount = capcodeCount;
    NormaliseAfterLoad(expected, expectedCount);
    fuzz::Require(reopened == expected, "a saved table reopens as the image saved");
    return 0;
}
