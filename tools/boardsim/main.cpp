// boardsim: a programmer board with a ZRV41K pager in it, on a
// pseudo-terminal. Prints the terminal's path first, then one line per
// frame it answers; writes the pager memory to --out on "dump" and on exit.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "tools/boardsim/board_simulator.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace L = zrv::layout;

volatile sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

const char* kUsage =
    "Usage: boardsim [OPTIONS]\n"
    "A programmer board with a pager in it, on a pseudo-terminal. The first line\n"
    "on stdout is the terminal's path; open it as the board's serial port.\n\n"
    "Pager memory (blank 0xFF when none is given):\n"
    "  --table FILE        a table file, stored as a write from the PC stores it\n"
    "                      (texts in the pager character set, write marker, image\n"
    "                      checksum)\n"
    "  --memory FILE       22016 bytes of pager memory, taken as they are\n"
    "  --out FILE          write the pager memory here on 'dump' (stdin) and on exit\n"
    "Line:\n"
    "  --paced             send and receive at the pace of 9600 baud 8N1\n"
    "  --delay MS          answer every read and write block MS milliseconds late\n"
    "Faults:\n"
    "  --silent-after N    stop answering after N answers (0: never answer)\n"
    "  --vanish-after N    disappear after N answers, as an unplugged adapter\n"
    "  --bad-ack-after N   refuse every write block after the first N\n"
    "  --stuck ADDR        the memory byte at ADDR (decimal) keeps its value on writes\n"
    "  --plain-checksum    read replies carry the plain sum, not the sum minus 3\n"
    "  --identity TEXT     the pager's identity text (at most 14 characters)\n"
    "  --bad-checksum      the pager's image checksum is wrong\n"
    "  --blank-serial      serial-number area all 0xFF\n"
    "  --zero-serial       serial-number area all 0x00\n"
    "  --serial TEXT       the pager's serial number (12 characters)\n"
    "  --firmware N        the pager's firmware byte (255: no version)\n"
    "Commands on stdin: 'dump' writes --out and prints 'dumped'; 'quit' ends.\n";

struct Options {
    std::string table, memory, out, identity, serial;
    bool paced = false, badChecksum = false, blankSerial = false, zeroSerial = false;
    bool identitySet = false, serialSet = false;
    int firmware = -1;
    long delayMs = 0;
    zrv::boardsim::Faults faults;
};

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

bool writeMemory(const std::string& path, const zrv::ConfigImage& memory) {
    if (path.empty()) return true;
    const std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(memory.bytes().data()), zrv::kImageSize);
        if (!out) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

bool parseCount(const char* text, long& value) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno || !end || *end || v < 0) return false;
    value = v;
    return true;
}

int usageError(const std::string& message) {
    std::cerr << "boardsim: " << message << "\n\n" << kUsage;
    return 2;
}

void putText(zrv::ConfigImage& memory, std::size_t offset, std::size_t length,
             const std::string& text, std::uint8_t pad) {
    memory.fill(offset, length, pad);
    for (std::size_t i = 0; i < text.size() && i < length; ++i)
        memory.setByte(offset + i, static_cast<std::uint8_t>(text[i]));
}

// Builds the pager memory from the options; false with a message when a file is bad.
bool buildMemory(const Options& o, zrv::ConfigImage& memory) {
    memory.fill(0, zrv::kImageSize, 0xFF);
    bool stamp = false;
    std::vector<std::uint8_t> bytes;
    if (!o.table.empty() || !o.memory.empty()) {
        const std::string& path = o.table.empty() ? o.memory : o.table;
        if (!readWholeFile(path, bytes) || bytes.size() != zrv::kImageSize) {
            std::cerr << "boardsim: " << path << " is not a 22016-byte file\n";
            return false;
        }
        std::copy(bytes.begin(), bytes.end(), memory.bytes().begin());
    }
    if (!o.table.empty()) {
        zrv::ConvertTextsToPager(memory);
        memory.setByte(L::kWriteMarker, 1);
        stamp = true;
    }
    if (o.identitySet) putText(memory, L::kPagerIdentity.offset, L::kPagerIdentity.length, o.identity, ' ');
    if (o.serialSet) {
        putText(memory, L::kPagerSerial.offset, L::kPagerSerial.length, o.serial, ' ');
        zrv::StoreSerialNumberSum(memory);
    }
    if (o.blankSerial) memory.fill(L::kPagerSerialWithSum.offset, L::kPagerSerialWithSum.length, 0xFF);
    if (o.zeroSerial) memory.fill(L::kPagerSerialWithSum.offset, L::kPagerSerialWithSum.length, 0x00);
    if (o.firmware >= 0) memory.setByte(L::kFirmwareVersion, static_cast<std::uint8_t>(o.firmware));
    stamp = stamp || o.identitySet || o.serialSet || o.blankSerial || o.zeroSerial || o.firmware >= 0;
    if (stamp) zrv::StoreImageChecksum(memory);
    if (o.badChecksum) memory.setByte(L::kChecksum + 1, static_cast<std::uint8_t>(memory.byte(L::kChecksum + 1) ^ 0x5A));
    return true;
}

// One byte at 9600 baud, 8N1: ten bit times.
constexpr std::chrono::nanoseconds kByteTime{10'000'000'000LL / 9600};

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](const char*& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (a == "-h" || a == "--help") { std::cout << kUsage; return 0; }
        else if (a == "--paced") o.paced = true;
        else if (a == "--plain-checksum") o.faults.plainChecksum = true;
        else if (a == "--bad-checksum") o.badChecksum = true;
        else if (a == "--blank-serial") o.blankSerial = true;
        else if (a == "--zero-serial") o.zeroSerial = true;
        else if (a == "--table" && value(v)) o.table = v;
        else if (a == "--memory" && value(v)) o.memory = v;
        else if (a == "--out" && value(v)) o.out = v;
        else if (a == "--identity" && value(v)) { o.identity = v; o.identitySet = true; }
        else if (a == "--serial" && value(v)) { o.serial = v; o.serialSet = true; }
        else if (a == "--firmware" && value(v)) {
            long f = 0;
            if (!parseCount(v, f) || f > 255) return usageError("--firmware takes 0..255");
            o.firmware = static_cast<int>(f);
        }
        else if (a == "--delay" && value(v)) { if (!parseCount(v, o.delayMs)) return usageError("bad --delay"); }
        else if (a == "--silent-after" && value(v)) { if (!parseCount(v, o.faults.silentAfter)) return usageError("bad count"); }
        else if (a == "--vanish-after" && value(v)) { if (!parseCount(v, o.faults.vanishAfter)) return usageError("bad count"); }
        else if (a == "--stuck" && value(v)) { if (!parseCount(v, o.faults.stuckAddress)) return usageError("bad address"); }
        else if (a == "--bad-ack-after" && value(v)) { if (!parseCount(v, o.faults.badAckAfter)) return usageError("bad count"); }
        else return usageError("unknown or incomplete option '" + a + "'");
    }
    if (!o.table.empty() && !o.memory.empty()) return usageError("--table and --memory exclude each other");

    zrv::ConfigImage memory;
    if (!buildMemory(o, memory)) return 1;

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("boardsim: pseudo-terminal");
        return 1;
    }
    const char* slaveName = ptsname(master);
    // Holding the terminal's other end open keeps it alive (and raw) while
    // the PC opens and closes it around every transfer.
    const int slave = slaveName ? ::open(slaveName, O_RDWR | O_NOCTTY) : -1;
    if (slave < 0) {
        std::perror("boardsim: terminal");
        return 1;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    std::cout << slaveName << std::endl;

    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    zrv::boardsim::BoardSimulator board(memory, o.faults);
    const auto byteTime = o.paced ? kByteTime : std::chrono::nanoseconds(0);
    const auto delay = std::chrono::milliseconds(o.delayMs);

    struct Scheduled { Clock::time_point due; std::uint8_t byte; };
    std::deque<Scheduled> outgoing;        // reply bytes with the time each leaves the board
    std::deque<std::pair<Clock::time_point, std::vector<std::uint8_t>>> incoming;  // bytes "still on the line"
    Clock::time_point rxFree = Clock::now(), txFree = Clock::now();
    bool stdinOpen = true, vanished = false;
    std::string command;
    std::uint8_t buffer[4096];

    while (!gStop && !vanished) {
        const auto now = Clock::now();
        // Bytes that have finished arriving go to the board.
        while (!incoming.empty() && incoming.front().first <= now) {
            auto chunk = std::move(incoming.front().second);
            incoming.pop_front();
            for (auto& outcome : board.receive(chunk.data(), chunk.size())) {
                if (!outcome.event.empty()) std::cout << outcome.event << std::endl;
                if (outcome.vanish) { vanished = true; break; }
                // Only block replies ("6R", "6S") are late; the board itself answers at once.
                const bool block = outcome.reply.size() > 11 && outcome.reply[10] == '6';
                auto start = std::max(block ? now + delay : now, txFree);
                for (auto b : outcome.reply) {
                    start += byteTime;
                    outgoing.push_back({start, b});
                }
                txFree = start;
            }
            if (vanished) break;
        }
        if (vanished) break;
        // Reply bytes whose time has come go out.
        std::vector<std::uint8_t> due;
        while (!outgoing.empty() && outgoing.front().due <= now) {
            due.push_back(outgoing.front().byte);
            outgoing.pop_front();
        }
        if (!due.empty() && ::write(master, due.data(), due.size()) < 0 && errno != EAGAIN) break;

        Clock::time_point next = now + std::chrono::seconds(1);
        if (!incoming.empty()) next = std::min(next, incoming.front().first);
        if (!outgoing.empty()) next = std::min(next, outgoing.front().due);
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(next - now);
        timespec ts{static_cast<time_t>(wait.count() / 1'000'000'000),
                    static_cast<long>(wait.count() % 1'000'000'000)};
        pollfd fds[2] = {{master, POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
        const int r = ppoll(fds, 2, &ts, nullptr);
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0) {
                const auto arrived = Clock::now();
                rxFree = std::max(rxFree, arrived) + byteTime * got;
                incoming.emplace_back(o.paced ? rxFree : arrived,
                                      std::vector<std::uint8_t>(buffer, buffer + got));
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char c;
            const ssize_t got = ::read(0, &c, 1);
            if (got <= 0) {
                stdinOpen = false;
            } else if (c == '\n') {
                if (command == "dump") {
                    writeMemory(o.out, board.memory());
                    std::cout << "dumped" << std::endl;
                } else if (command == "quit") {
                    break;
                }
                command.clear();
            } else {
                command.push_back(c);
            }
        }
    }
    // Vanishing closes the terminal at once, as an adapter pulled out does.
    ::close(master);
    ::close(slave);
    writeMemory(o.out, board.memory());
    return 0;
}
