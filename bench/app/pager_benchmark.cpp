// How long the main window's event loop is held up by the Pager menu and
// the board polling, against the board simulator: one polling tick on a port
// that never answers (the longest wait a tick has), and a whole read and a
// whole write + verify through the programming window with the board's own
// 300 ms read pause (ZRV41K_READ_PAUSE_MS shortens it for a quick run).
// A 1 ms timer stands for the user: the longest gap between two of its
// ticks is the longest time the window could not react (max_stall_ms).
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdexcept>

#include "bench/support/boardsim_child.h"
#include "app/application.h"
#include "app/companion_windows.h"
#include "app/main_window.h"
#include "app/silent_notifier.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "link/board_session.h"
#include "link/ui/programming_window.h"

namespace {

using namespace zrv;

// Counts the messages a transfer would have shown.
class CountingNotifier : public Notifier {
public:
    void show(const Message&) override { ++shown; }
    bool ask(const Message&) override { return false; }
    int shown = 0;
};

using Simulator = zrv::bench::BoardsimChild;

// The longest gap between two ticks of a 1 ms timer while it runs.
class StallMeter {
public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    /// The longest gap in milliseconds, up to now.
    double stop() {
        longest_ = std::max(longest_, clock_.nsecsElapsed() - last_);
        timer_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0, longest_ = 0;
};

std::unique_ptr<app::Application> Window(const QTemporaryDir& folder, Notifier& notifier,
                                         const std::string& port, bool probe) {
    auto options = app::StartupOptions::Unattended(folder.path().toStdString(), notifier);
    options.ports = {port};
    options.probeBoard = probe;
    auto app = std::make_unique<app::Application>(options);
    app->mainWindow().show();
    QApplication::processEvents();
    return app;
}

void PollTickOnASilentPort(benchmark::State& state) {
    Simulator mute({"--silent-after", "0"});
    QTemporaryDir folder;
    app::SilentNotifier notifier;
    auto app = Window(folder, notifier, mute.path(), false);
    StallMeter meter;
    double worst = 0;
    for (auto _ : state) {
        meter.start();
        app->mainWindow().boardSession().Timer1Timer();  // no board known: the tick probes the silent port
        worst = std::max(worst, meter.stop());
        if (app->mainWindow().boardSession().boardPort()) state.SkipWithError("the silent port answered");
    }
    state.counters["max_stall_ms"] = worst;
}

// Runs one Pager menu item to its end and presses Exit; returns the longest stall.
double RunThroughTheWindow(app::Application& app, QAction* item, std::string& status) {
    link::ui::ProgrammingWindow& form1 = *app.companions().Form1;
    QTimer exit;
    QObject::connect(&exit, &QTimer::timeout, [&] {
        auto* button = form1.findChild<QPushButton*>(QStringLiteral("cmdExit"));
        if (!form1.isVisible() || form1.busy() || !button->isVisible()) return;
        exit.stop();
        status = form1.findChild<QLabel*>(QStringLiteral("lblMsg"))->text().toStdString();
        button->click();
    });
    exit.start(20);
    StallMeter meter;
    meter.start();
    item->trigger();
    return meter.stop();
}

template <bool Writing>
void WholeTransferThroughTheWindow(benchmark::State& state) {
    const auto table = std::filesystem::temp_directory_path() / "zrv41k-pager-bench.tbl";
    ConfigImage image = StartupImage();
    StampIdentityForSave(image);
    StoreTableChecksum(image);
    if (FILE* f = std::fopen(table.c_str(), "wb")) {
        std::fwrite(image.bytes().data(), 1, kImageSize, f);
        std::fclose(f);
    }
    Simulator board({QStringLiteral("--table"), QString::fromStdString(table.string())});
    QTemporaryDir folder;
    CountingNotifier notifier;
    auto app = Window(folder, notifier, board.path(), true);
    app::MainWindow& main = app->mainWindow();
    if (Writing) main.findChild<QRadioButton*>(QStringLiteral("RBtWrite"))->click();  // Write mode
    QAction* item = main.action(Writing ? QStringLiteral("mnuWrite") : QStringLiteral("mnuRead"));
    double worst = 0;
    std::string status;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        worst = std::max(worst, RunThroughTheWindow(*app, item, status));
        state.counters["wall_s"] = static_cast<double>(wall.elapsed()) / 1000.0;
        const std::string expected = Writing ? "  Write Success!" : "  Read Success!";
        if (status != expected || notifier.shown) state.SkipWithError(("the transfer failed: " + status).c_str());
    }
    state.counters["max_stall_ms"] = worst;
    state.counters["read_pause_ms"] =
        static_cast<double>(link::LinkTimingFromEnvironment().readPause.count());
}

}  // namespace

BENCHMARK(PollTickOnASilentPort)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeTransferThroughTheWindow<false>)->Name("WindowRead")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(WholeTransferThroughTheWindow<true>)->Name("WindowWriteAndVerify")->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication qapp(argc, argv);
    app::UseDesignFont();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
