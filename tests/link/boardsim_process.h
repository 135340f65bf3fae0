#pragma once
// A board simulator run as a child process for one test, on its own
// pseudo-terminal, plus the helpers the link tests share.

#include <memory>
#include <string>
#include <vector>

#include <QProcess>

#include "core/image.h"
#include "link/programmer_link.h"
#include "tests/support/test_support.h"

namespace zrv::test {

class Boardsim {
public:
    /// Starts boardsim with \p args (plus --out into a private folder) and
    /// waits for the terminal's path.
    explicit Boardsim(std::vector<std::string> args = {});
    ~Boardsim();
    Boardsim(const Boardsim&) = delete;
    Boardsim& operator=(const Boardsim&) = delete;

    /// Where the board is reached: a link to boardsim's terminal that is
    /// removed when the board goes.
    const std::string& path() const { return path_; }
    /// The pager memory as the simulator holds it now.
    ConfigImage memory();
    /// The lines the simulator has logged so far (one per frame).
    std::vector<std::string> log();
    /// Waits until the simulator has ended (a vanish fault) or \p ms pass.
    bool waitForExit(int ms);

private:
    void drain();

    TempDir dir_;
    QProcess process_;
    std::string terminal_;  // the pseudo-terminal boardsim opened
    std::string path_;      // the tests' link to it, gone with the board
    std::string pending_;
    std::vector<std::string> lines_;
};

/// Records what the link reports to a window.
class RecordingSink : public link::LinkSink {
public:
    void status(const Message& text, bool busy) override;
    void progressRange(int first, int last) override;
    void progress(int position) override { positions.push_back(position); }
    void boardDisconnected() override { ++disconnects; }
    void firmwareText(const std::string& text) override { firmware = text; }
    void verifyDifferences(const std::string& text) override { differences = text; }

    std::vector<std::string> statuses;  ///< "busy:Reading", "done:Read Success!"
    std::vector<int> positions;
    int rangeFirst = -1, rangeLast = -1;
    int disconnects = 0;
    std::string firmware, differences;
};

/// The link timings for an unpaced simulator: no read pause, real time-outs.
link::LinkTiming FastTiming();

/// A table-file image ready to be written: the start-up image, saved form.
ConfigImage SampleImage();

/// Writes \p image to \p path as raw pager memory.
void WriteMemoryFile(const std::filesystem::path& path, const ConfigImage& image);

/// The image's bytes as a string (for file comparisons).
std::string Bytes(const ConfigImage& image);

}  // namespace zrv::test
