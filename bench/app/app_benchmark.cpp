// Start-up of the desktop program until the main window is shown (FormCreate,
// the companion windows, FormShow with its refresh and default-table step),
// and one full refresh of every control from an image that differs from the
// one shown before. Offscreen, without a board probe.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/application.h"
#include "app/main_window.h"
#include "app/silent_notifier.h"
#include "core/alert_lengths.h"
#include "core/capcode_rules.h"
#include "core/frequency.h"

namespace {

zrv::app::StartupOptions Options(const QTemporaryDir& folder, zrv::Notifier& notifier) {
    return zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier);
}

void StartUpUntilShown(benchmark::State& state) {
    QTemporaryDir folder;
    zrv::app::SilentNotifier notifier;
    for (auto _ : state) {
        auto app = std::make_unique<zrv::app::Application>(Options(folder, notifier));
        app->mainWindow().show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(app->mainWindow().isVisible());
        state.PauseTiming();
        app.reset();  // tearing the windows down is not part of the start-up
        state.ResumeTiming();
    }
}

void FullRefresh(benchmark::State& state) {
    QTemporaryDir folder;
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app(Options(folder, notifier));
    zrv::app::MainWindow& main = app.mainWindow();
    main.show();
    QApplication::processEvents();
    // Two images that differ in every field the "Freq. && Codes" page shows,
    // taken in turn, so each refresh changes the controls instead of setting
    // what they already show.
    const zrv::ConfigImage first = main.image();
    zrv::ConfigImage second = first;
    (void)zrv::ChangeBand(second, 1, false);
    for (int n = 0; n < 8; ++n) {
        (void)zrv::StoreCapcodeText(second, n, std::to_string(1000 + n));
        zrv::StoreCapcodeOnBox(second, 0, n, n % 2 == 0);
        zrv::StoreFunctionBitType(second, n, n % 4, zrv::kGroupTypeItem);
    }
    zrv::StorePersonalAlert(second, zrv::kPersonalAlertContinuous);
    for (int i = 0; i < zrv::kMailDropCount; ++i) zrv::StoreMailDropAlert(second, i, 1 + i % 3);
    bool flip = false;
    for (auto _ : state) {
        main.image() = (flip = !flip) ? second : first;
        main.refreshAll();
    }
}

}  // namespace

BENCHMARK(StartUpUntilShown)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(FullRefresh)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication qapp(argc, argv);
    zrv::app::UseDesignFont();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
