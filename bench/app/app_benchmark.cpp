// Start-up of the desktop program until the main window is shown (FormCreate,
// the companion windows, FormShow with its refresh and default-table step),
// and one full refresh of every control from the image. Offscreen, without
// a board probe.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/application.h"
#include "app/main_window.h"
#include "app/silent_notifier.h"

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
    app.mainWindow().show();
    QApplication::processEvents();
    for (auto _ : state) app.mainWindow().refreshAll();
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
