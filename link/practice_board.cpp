#include "link/practice_board.h"

#include <sys/prctl.h>

#include <QStandardPaths>
#include <csignal>

#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/table_file.h"

namespace zrv::link {

namespace {
constexpr int kStartWait = 5000;
constexpr int kStopWait = 2000;
constexpr const char* kSimulatorName = "boardsim";
}  // namespace

PracticeBoard::PracticeBoard(const std::filesystem::path& simulator) {
    if (!folder_.isValid()) {
        error_ = "no temporary folder for the sample pager";
        return;
    }
    // The pager holds the configuration of a program just started, as a
    // write from the PC would have left it, with a serial number of its own.
    const std::filesystem::path sample = folder_.filePath(QStringLiteral("practice.tbl")).toStdString();
    ConfigImage image = StartupImage();
    if (const auto refused = SaveTableFile(sample, image, kDefaultCapcodeCount)) {
        error_ = refused->english;
        return;
    }
    process_.setProgram(QString::fromStdString(simulator.string()));
    process_.setArguments({QStringLiteral("--table"), QString::fromStdString(sample.string()),
                           QStringLiteral("--serial"), QString::fromLatin1(kSerial)});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Should this program end without stopping it, the simulator ends too.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start();
    if (!process_.waitForStarted(kStartWait)) {
        error_ = simulator.string() + ": " + process_.errorString().toStdString();
        return;
    }
    // Its first line names the terminal.
    while (!process_.canReadLine())
        if (!process_.waitForReadyRead(kStartWait)) {
            error_ = simulator.string() + " named no terminal";
            return;
        }
    port_ = process_.readLine().trimmed().toStdString();
    // What it logs afterwards is dropped as it comes, never left to fill the pipe.
    process_.closeReadChannel(QProcess::StandardOutput);
}

PracticeBoard::~PracticeBoard() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.write("quit\n");
    if (process_.waitForFinished(kStopWait)) return;
    process_.terminate();
    if (process_.waitForFinished(kStopWait)) return;
    process_.kill();
    process_.waitForFinished(kStopWait);
}

std::filesystem::path FindBoardSimulator(const std::filesystem::path& programFolder) {
    const std::filesystem::path beside = programFolder / kSimulatorName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(beside, ec)) return beside;
    const QString onPath = QStandardPaths::findExecutable(QString::fromLatin1(kSimulatorName));
    return onPath.isEmpty() ? std::filesystem::path() : std::filesystem::path(onPath.toStdString());
}

}  // namespace zrv::link
