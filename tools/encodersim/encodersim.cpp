// encodersim: a paging encoder on a pseudo-terminal.
//
// Prints the terminal's path as its first line, then answers every frame
// (STX, ID string, data string, four checksum characters, EOT) with the
// frame's checksum characters and ACK, and logs each request as one line
// "ID DATA". Faults make it misbehave the ways a real encoder can.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr unsigned char kStx = 0x02;
constexpr unsigned char kEot = 0x04;
constexpr unsigned char kAck = 0x06;
constexpr unsigned char kNak = 0x15;
/// The longest frame body we collect before giving up on a lost EOT.
constexpr std::size_t kMaxFrame = 4096;

struct Options {
    std::string logPath;
    bool silent = false;       // never answers
    bool wrongAckByte = false; // fifth byte NAK instead of ACK
    bool wrongChecksum = false;
    long ackFrom = 1;          // frames before this one get no answer
    long ackFirst = 0;         // when > 0, frames after this many get NAK
    int idLength = 0;          // 0: find the ID's end from its characters
    int noiseByte = -1;        // when >= 0, sent once just before the first answer
};

volatile sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

void usage(std::ostream& out) {
    out << "Usage: encodersim [--log FILE] [--silent] [--wrong-ack-byte] [--wrong-checksum]\n"
                 "                  [--ack-from K] [--ack-first K] [--id-length N]\n"
                 "                  [--noise-before-ack HEX]\n"
                 "Prints the pseudo-terminal path first, then acts as a paging encoder.\n"
                 "  --log FILE        append every request as a line \"ID DATA\"\n"
                 "  --silent          never acknowledge\n"
                 "  --wrong-ack-byte  answer the right checksum characters and NAK\n"
                 "  --wrong-checksum  answer wrong checksum characters and ACK\n"
                 "  --ack-from K      leave frames 1..K-1 unanswered (counting every attempt)\n"
                 "  --ack-first K     acknowledge frames 1..K only, answer later ones with NAK\n"
                 "  --id-length N     the ID string is the first N characters of each request\n"
                 "  --noise-before-ack HEX\n"
                 "                    put the byte HEX (00..FF) on the line once, just before\n"
                 "                    the first answer, as line noise does\n";
}

std::string checksumCharacters(std::uint16_t sum) {
    std::string out;
    for (int shift = 12; shift >= 0; shift -= 4) out += static_cast<char>(0x30 + ((sum >> shift) & 0xF));
    return out;
}

/// Where the ID string ends inside a request body (ID followed by data).
/// An ID is a capcode, an encoding character, a rate and a function
/// character; a letter encoding ('n', 'N', 'a', 'A') marks the end, the
/// time message carries 14 data digits, and anything else takes the
/// ten-character form the window pads the control ID to.
std::size_t idEnd(const std::string& body, int idLength) {
    if (idLength > 0) return std::min<std::size_t>(static_cast<std::size_t>(idLength), body.size());
    for (std::size_t i = 1; i < body.size() && i < 8; ++i) {
        const char c = body[i];
        if (c == 'n' || c == 'N' || c == 'a' || c == 'A') return std::min(i + 3, body.size());
    }
    if (body.size() > 14 && body.size() <= 24) return body.size() - 14;
    return std::min<std::size_t>(10, body.size());
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--log") {
            const char* v = value();
            if (!v) return false;
            o.logPath = v;
        } else if (a == "--silent") {
            o.silent = true;
        } else if (a == "--wrong-ack-byte") {
            o.wrongAckByte = true;
        } else if (a == "--wrong-checksum") {
            o.wrongChecksum = true;
        } else if (a == "--ack-from") {
            const char* v = value();
            if (!v || std::atol(v) < 1) return false;
            o.ackFrom = std::atol(v);
        } else if (a == "--ack-first") {
            const char* v = value();
            if (!v || std::atol(v) < 1) return false;
            o.ackFirst = std::atol(v);
        } else if (a == "--noise-before-ack") {
            const char* v = value();
            char* end = nullptr;
            const long b = v ? std::strtol(v, &end, 16) : -1;
            if (!v || !*v || *end || b < 0 || b > 0xFF) return false;
            o.noiseByte = static_cast<int>(b);
        } else if (a == "--id-length") {
            const char* v = value();
            if (!v || std::atoi(v) < 1 || std::atoi(v) > 10) return false;
            o.idLength = std::atoi(v);
        } else {
            return false;
        }
    }
    return true;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(std::cout);
            return 0;
        }
    }
    Options opt;
    if (!parse(argc, argv, opt)) {
        usage(std::cerr);
        return 2;
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("encodersim: pseudo-terminal");
        return 1;
    }
    const char* slaveName = ptsname(master);
    if (!slaveName) {
        std::perror("encodersim: ptsname");
        return 1;
    }
    const std::string slavePath = slaveName;
    // Holding the slave open keeps the master readable while no client has
    // the port open (the encoder link opens and closes it per request).
    const int keeper = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    if (keeper >= 0 && tcgetattr(keeper, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(keeper, TCSANOW, &raw);
    }
    std::cout << slavePath << std::endl;

    signal(SIGTERM, onSignal);
    signal(SIGINT, onSignal);
    signal(SIGPIPE, SIG_IGN);

    long frames = 0;
    bool inFrame = false;
    std::string body;
    std::uint16_t sum = 0;
    while (!stopRequested) {
        pollfd p{master, POLLIN, 0};
        const int r = ::poll(&p, 1, 200);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0 || !(p.revents & POLLIN)) continue;
        unsigned char buf[512];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) {
            if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EIO)) {
                ::usleep(10000);
                continue;
            }
            break;
        }
        for (ssize_t k = 0; k < n; ++k) {
            const unsigned char c = buf[k];
            if (c == kStx) {
                inFrame = true;
                body.clear();
                sum = kStx;
                continue;
            }
            if (!inFrame) continue;
            if (c != kEot) {
                body += static_cast<char>(c);
                if (body.size() > kMaxFrame) inFrame = false;
                continue;
            }
            inFrame = false;
            ++frames;
            if (body.size() < 4) continue;
            const std::string request = body.substr(0, body.size() - 4);
            for (char ch : request) sum = static_cast<std::uint16_t>(sum + static_cast<unsigned char>(ch));
            const std::size_t split = idEnd(request, opt.idLength);
            if (!opt.logPath.empty()) {
                std::ofstream log(opt.logPath, std::ios::app);
                log << request.substr(0, split) << ' ' << request.substr(split) << '\n';
            }
            if (opt.silent || frames < opt.ackFrom) continue;
            std::string ack = checksumCharacters(sum);
            if (opt.wrongChecksum) ack = checksumCharacters(static_cast<std::uint16_t>(sum + 1));
            const bool refused = opt.wrongAckByte || (opt.ackFirst > 0 && frames > opt.ackFirst);
            ack += static_cast<char>(refused ? kNak : kAck);
            if (opt.noiseByte >= 0) {
                ack.insert(ack.begin(), static_cast<char>(opt.noiseByte));
                opt.noiseByte = -1;
            }
            writeAll(master, ack);
        }
    }
    if (keeper >= 0) ::close(keeper);
    ::close(master);
    return 0;
}
