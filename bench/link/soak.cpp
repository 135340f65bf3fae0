// Soak of the programmer link against boardsim: write-and-verify cycles and
// reads with a fault in one cycle of ten (the board falls silent, refuses a
// write block, vanishes mid-transfer, or answers reads with a wrong
// checksum). After every failed cycle the image in memory and the table file
// on disk must be byte-identical to before; the process's memory must not
// grow over the run. Run by hand (never by CTest):
//
//   ZRV41K_READ_PAUSE_MS=2 build/bin/link_soak [WRITES [READS [SEED]]]
//
// Exit status 0 when every cycle without a fault succeeded, every fault was
// survived and memory stayed flat; 1 otherwise.
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/table_file.h"
#include "link/programming_session.h"
#include "link/qt_serial_line.h"

namespace {

using namespace zrv;
using namespace zrv::link;
namespace fs = std::filesystem;

enum class Fault { None, Silence, BadAck, Vanish, WrongChecksum };
const char* FaultName(Fault f) {
    switch (f) {
    case Fault::None: return "none";
    case Fault::Silence: return "silence";
    case Fault::BadAck: return "bad acknowledgement";
    case Fault::Vanish: return "vanish mid-transfer";
    case Fault::WrongChecksum: return "wrong checksum";
    }
    return "?";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Resident memory of this process in KiB.
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

class CountingNotifier : public Notifier {
public:
    void show(const Message&) override { ++shown; }
    bool ask(const Message&) override { return true; }
    int shown = 0;
};

// One boardsim process holding the pager memory file; the memory goes back
// to the file when it ends, so the pager survives from one cycle to the next.
class Board {
public:
    Board(const fs::path& memory, const QStringList& faultArgs) {
        const auto bin = fs::path(QCoreApplication::applicationDirPath().toStdString());
        const QString file = QString::fromStdString(memory.string());
        process_.setProgram(QString::fromStdString((bin / "boardsim").string()));
        process_.setArguments(QStringList{"--memory", file, "--out", file} + faultArgs);
        process_.start();
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000)) {
            std::fprintf(stderr, "soak: boardsim did not start\n");
            std::exit(2);
        }
        path_ = process_.readLine().trimmed().toStdString();
    }
    ~Board() {
        if (process_.state() != QProcess::NotRunning) {
            process_.write("quit\n");
            if (!process_.waitForFinished(3000)) process_.kill();
        }
        process_.waitForFinished(3000);
    }
    const std::string& path() const { return path_; }

private:
    QProcess process_;
    std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int writes = argc > 1 ? std::atoi(argv[1]) : 200;
    const int reads = argc > 2 ? std::atoi(argv[2]) : 50;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : std::random_device{}();
    if (!std::getenv(kReadPauseVariable)) ::setenv(kReadPauseVariable, "2", 1);
    std::mt19937 random(seed);

    const fs::path dir = fs::temp_directory_path() / ("zrv41k-soak-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path memoryFile = dir / "pager.bin";
    const fs::path tableFile = dir / "pager.tbl";

    // The pager starts holding a written table; the table file is the one
    // the reads save into.
    ConfigImage image = StartupImage();
    int capcodeCount = 16;
    if (SaveTableFile(tableFile, image, capcodeCount)) return 2;
    {
        ConfigImage pager = image;
        ConvertTextsToPager(pager);
        pager.setByte(0x1246, 16);
        StoreImageChecksum(pager);
        std::ofstream(memoryFile, std::ios::binary)
            .write(reinterpret_cast<const char*>(pager.bytes().data()), kImageSize);
    }

    QtSerialLine line;
    CountingNotifier notifier;
    LinkSink sink;
    ProgrammerLink link(line, notifier, {}, &sink);
    link.setTiming(LinkTimingFromEnvironment());
    link.setFrequencyRecheck(ImageFrequencyRecheck(notifier));

    ConfigImage writeImage = image;
    ConvertTextsToPager(writeImage);

    int done = 0, faults = 0, survived = 0, cleanFailures = 0, damaged = 0;
    long rssAfterWarmUp = 0, rssPeak = 0;
    const int total = writes + reads;
    const auto t0 = std::chrono::steady_clock::now();
    for (int cycle = 0; cycle < total; ++cycle) {
        const bool writing = cycle < writes;
        // The first cycle of each kind runs clean: it brings the image to the
        // form the pager holds, so every later failed cycle must leave it so.
        const bool faulty = cycle != 0 && cycle != writes && random() % 10 == 0;
        Fault fault = Fault::None;
        QStringList args;
        if (faulty) {
            const Fault kinds[] = {Fault::Silence, Fault::BadAck, Fault::Vanish, Fault::WrongChecksum};
            fault = kinds[random() % 4];
            // Answers before the fault: identify, start, then the blocks of
            // the transfer (about 180 for a write, 175 for a read).
            const QString after = QString::number(2 + random() % 170);
            switch (fault) {
            case Fault::Silence: args << "--silent-after" << after; break;
            case Fault::BadAck: args << "--bad-ack-after" << QString::number(random() % 172); break;
            case Fault::Vanish: args << "--vanish-after" << after; break;
            case Fault::WrongChecksum: args << "--plain-checksum"; break;
            case Fault::None: break;
            }
            ++faults;
        }
        Board board(memoryFile, args);
        link.setPortOverride({board.path()});
        link.BoardPort.reset();
        const bool found = link.ProbeBoard();

        ConfigImage& subject = writing ? writeImage : image;
        const ConfigImage imageBefore = subject;
        const std::string tableBefore = ReadBytes(tableFile);
        bool ok = false;
        if (found) {
            if (writing) {
                ok = ProgramWrite(link, sink, subject) == WriteOutcome::Success;
            } else {
                int count = capcodeCount;
                ok = ProgramRead(link, sink, subject, count) &&
                     !SaveTableFile(tableFile, subject, count);
            }
        }
        if (ok) {
            ++done;
        } else {
            const bool intact = subject == imageBefore && ReadBytes(tableFile) == tableBefore;
            if (!intact) {
                ++damaged;
                std::fprintf(stderr, "cycle %d (%s, fault %s): the image or the table file changed\n",
                             cycle, writing ? "write" : "read", FaultName(fault));
            }
            if (fault == Fault::None) {
                ++cleanFailures;
                std::fprintf(stderr, "cycle %d (%s) failed without a fault\n", cycle, writing ? "write" : "read");
            } else if (intact) {
                ++survived;
            }
        }
        if (ok && fault != Fault::None) ++survived;  // the fault never came into play
        if (cycle == 20) rssAfterWarmUp = ResidentKiB();
        rssPeak = std::max(rssPeak, ResidentKiB());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const long rssEnd = ResidentKiB();
    const long growth = rssEnd - rssAfterWarmUp;
    std::error_code ec;
    fs::remove_all(dir, ec);

    std::printf("soak: seed %u, %d write-and-verify cycles, %d reads, %.0f s\n", seed, writes, reads, seconds);
    std::printf("cycles done: %d of %d\n", done, total);
    std::printf("faults injected: %d, survived: %d\n", faults, survived);
    std::printf("failed cycles that changed the image or the table file: %d\n", damaged);
    std::printf("cycles without a fault that failed: %d\n", cleanFailures);
    std::printf("resident memory: %ld KiB after cycle 20, %ld KiB at the end (growth %ld KiB), peak %ld KiB\n",
                rssAfterWarmUp, rssEnd, growth, rssPeak);
    // A few hundred KiB of allocator slack is no leak; a leak per cycle
    // over some 230 cycles is more.
    const bool flat = growth < 1024;
    const bool passed = survived == faults && damaged == 0 && cleanFailures == 0 && flat;
    std::printf("%s\n", passed ? "soak passed" : "soak FAILED");
    return passed ? 0 : 1;
}
