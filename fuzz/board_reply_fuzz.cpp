// Board replies through a line that corrupts, truncates, repeats, delays,
// withholds or adds to them, or loses the board: detection, reads, writes
// and verifies must end in a message or a correct result, never in a fault,
// and a read that reports success from replies the line only delayed, cut
// or withheld holds exactly the pager's bytes.
#include <cstdint>

#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "fuzz/fuzz_support.h"
#include "link/programmer_link.h"
#include "tools/boardsim/simulated_line.h"

using namespace zrv;
using namespace zrv::link;
using boardsim::SimulatedLine;

namespace {

class QuietNotifier : public Notifier {
public:
    void show(const Message&) override { ++shown; }
    bool ask(const Message&) override { return answer; }
    int shown = 0;
    bool answer = true;
};

ConfigImage Pager() {
    ConfigImage memory = StartupImage();
    StampIdentityForSave(memory);
    for (std::size_t a = 0x1000; a < 0x1400; ++a) memory.setByte(a, static_cast<std::uint8_t>(a * 13 + (a >> 7)));
    ConvertTextsToPager(memory);
    StoreImageChecksum(memory);
    return memory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ConfigImage memory = Pager();
    fuzz::Input in(data, size);
    boardsim::BoardSimulator board(memory, boardsim::Faults{});
    SimulatedLine line(board);
    bool altered = false;  // a reply's bytes were changed, repeated or joined by others
    line.setReplyFilter([&](std::size_t, const Bytes& reply) {
        SimulatedLine::Delivery d{reply, 0, 0};
        switch (in.below(10)) {
        case 0: {  // corrupt some bytes
            const unsigned n = 1 + in.below(3);
            for (unsigned i = 0; i < n && !d.bytes.empty(); ++i) d.bytes[in.byte() % d.bytes.size()] ^= static_cast<std::uint8_t>(1 + in.byte());
            altered = true;
            break;
        }
        case 1: d.bytes.resize(in.byte() % (reply.size() + 1)); break;  // truncated
        case 2: d.bytes.insert(d.bytes.end(), reply.begin(), reply.end()); altered = true; break;  // twice
        case 3: d.delay = in.below(8); d.spread = in.below(3); break;  // late, slow
        case 4: d.bytes.clear(); break;  // withheld
        case 5: {  // noise before or after
            Bytes noise(in.below(20), in.byte());
            d.bytes.insert(in.flag() ? d.bytes.begin() : d.bytes.end(), noise.begin(), noise.end());
            altered = true;
            break;
        }
        case 6: if (in.flag()) line.unplug(); break;  // the adapter goes
        default: break;
        }
        return d;
    });
    QuietNotifier notifier;
    ProgrammerLink link(line, notifier);
    link.setPortOverride({"simulated"});
    LinkTiming timing;
    timing.readPause = std::chrono::milliseconds(0);
    timing.replyWait = timing.syncWait = timing.restWait = std::chrono::milliseconds(2);
    link.setTiming(timing);
    if (!link.ProbeBoard()) return 0;

    const std::size_t first = in.word() % (kImageSize + 0x200);
    const std::size_t last = first + in.word() % 0x400;
    switch (in.below(4)) {
    case 0: {
        const bool ok = link.ReadRange(first, last, 1 + in.below(200));
        if (ok && !altered) {
            const std::size_t end = std::min(last, kImageSize - 1);
            for (std::size_t a = first; a <= end; ++a)
                fuzz::Require(link.PagerBuffer().byte(a) == memory.byte(a), "a successful read holds the pager's bytes");
        }
        break;
    }
    case 1: {
        ConfigImage image;
        image.fill(0, kImageSize, 0x5A);
        const ConfigImage before = image;
        if (!link.ReadPager(image, first, last)) fuzz::Require(image == before, "a failed read leaves the image");
        break;
    }
    case 2: {
        ConfigImage image = memory;
        image.fill(0x1000, 0x100, in.byte());
        notifier.answer = in.flag();
        (void)link.WritePager(image, first, last);
        break;
    }
    default: (void)link.VerifyPager(memory, first, last); break;
    }
    return 0;
}
