// Transfer benchmark: a whole-pager read and a write + verify against the
// board simulator paced at 9600 baud, compared with the protocol floor (the
// bytes on the line at 9600 baud 8N1 plus the 300 ms pause of every read
// block); and against an unpaced simulator, the link's own time per block.
#include <memory>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "bench/support/boardsim_child.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "link/programming_session.h"
#include "link/qt_serial_line.h"

namespace {

using namespace zrv;
using namespace zrv::link;
using Clock = std::chrono::steady_clock;

constexpr double kSecondsPerByte = 10.0 / 9600.0;  // start bit, 8 data bits, stop bit
constexpr double kReadPauseSeconds = 0.3;
constexpr double kBlocksPerImage = kImageSize / 128.0;

// A pager written with the start-up image, in a simulator child process.
class Simulator {
public:
    explicit Simulator(bool paced) {
        const auto table = std::filesystem::temp_directory_path() / "zrv41k-bench.tbl";
        ConfigImage image = StartupImage();
        StampIdentityForSave(image);
        StoreTableChecksum(image);
        FILE* f = std::fopen(table.c_str(), "wb");
        if (!f) throw std::runtime_error("cannot write the bench table");
        std::fwrite(image.bytes().data(), 1, kImageSize, f);
        std::fclose(f);
        QStringList args{"--table", QString::fromStdString(table.string())};
        if (paced) args << "--paced";
        child_ = std::make_unique<zrv::bench::BoardsimChild>(args);
    }
    const std::string& path() const { return child_->path(); }

private:
    std::unique_ptr<zrv::bench::BoardsimChild> child_;
};

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class SilentNotifier : public Notifier {
public:
    void show(const Message&) override { ++shown; }
    bool ask(const Message&) override { return true; }
    int shown = 0;
};

// The link with a byte and read-block counter on its trace.
struct Rig {
    explicit Rig(const Simulator& sim, bool fast) : link(line, notifier) {
        link.setPortOverride({sim.path()});
        if (fast) {
            LinkTiming t;
            t.readPause = std::chrono::milliseconds(0);
            link.setTiming(t);
        }
        link.setFrequencyRecheck(ImageFrequencyRecheck(notifier));
        if (!link.ProbeBoard()) throw std::runtime_error("no board");
        link.setTrace([this](TraceDirection d, std::span<const std::uint8_t> bytes) {
            lineBytes += bytes.size();
            if (d == TraceDirection::Sent && bytes.size() == kReadRequestSize && bytes[11] == 'R')
                ++readBlocks;
            ++frames;
        });
    }
    double floorSeconds() const { return lineBytes * kSecondsPerByte + readBlocks * kReadPauseSeconds; }
    QtSerialLine line;
    SilentNotifier notifier;
    ProgrammerLink link;
    std::size_t lineBytes = 0, readBlocks = 0, frames = 0;
};

template <typename Operation>
void measurePaced(benchmark::State& state, Operation operation) {
    Simulator sim(true);
    Rig rig(sim, false);
    for (auto _ : state) {
        const double cpu0 = cpuSeconds();
        const auto t0 = Clock::now();
        const bool ok = operation(rig);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const double cpu = cpuSeconds() - cpu0;
        if (!ok || rig.notifier.shown) state.SkipWithError("the transfer failed");
        state.SetIterationTime(wall);
        state.counters["wall_s"] = wall;
        state.counters["floor_s"] = rig.floorSeconds();
        state.counters["time_per_floor"] = wall / rig.floorSeconds();
        state.counters["cpu_per_wall"] = cpu / wall;
    }
}

void PacedFullRead(benchmark::State& state) {
    measurePaced(state, [](Rig& rig) {
        ConfigImage image;
        return rig.link.ReadPager(image);
    });
}

void PacedWriteAndVerify(benchmark::State& state) {
    measurePaced(state, [](Rig& rig) {
        ConfigImage image = StartupImage();
        LinkSink sink;
        return ProgramWrite(rig.link, sink, image) == WriteOutcome::Success;
    });
}

// The write blocks alone: no read pause hides the bytes on the line here.
void PacedWriteBlocks(benchmark::State& state) {
    measurePaced(state, [](Rig& rig) {
        const ConfigImage image = StartupImage();
        return rig.link.WriteRange(image, 0, kImageSize - 1, 128);
    });
}

template <bool Reading>
void UnpacedBlocks(benchmark::State& state) {
    Simulator sim(false);
    Rig rig(sim, true);
    ConfigImage image = StartupImage();
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpu0 = cpuSeconds();
        const auto t0 = Clock::now();
        const bool ok = Reading ? rig.link.ReadRange(0, kImageSize - 1, 128)
                                : rig.link.WriteRange(image, 0, kImageSize - 1, 128);
        cpu += cpuSeconds() - cpu0;
        wall += std::chrono::duration<double>(Clock::now() - t0).count();
        if (!ok) state.SkipWithError("the transfer failed");
    }
    const double blocks = kBlocksPerImage * static_cast<double>(state.iterations());
    state.counters["ms_per_block"] = wall * 1e3 / blocks;
    state.counters["cpu_ms_per_block"] = cpu * 1e3 / blocks;
}

}  // namespace

BENCHMARK(PacedFullRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(PacedWriteAndVerify)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(PacedWriteBlocks)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(UnpacedBlocks<true>)->Name("UnpacedReadBlocks")->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(UnpacedBlocks<false>)->Name("UnpacedWriteBlocks")->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
