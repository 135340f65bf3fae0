// Start-up of the desktop program until the main window is shown (FormCreate,
// the companion windows, FormShow with its refresh and default-table step),
// one full refresh of every control from an image that differs from the one
// shown before, the UI text editor's fill, Apply and Load over the factory
// catalogue, start-up with a Language.ini of several megabytes, one step of
// undo and redo with the window's refresh, and the memory a hundred undoable
// edits keep. Offscreen, without a board probe.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/application.h"
#include "app/edit_history.h"
#include "app/main_window.h"
#include "app/companion_windows.h"
#include "app/silent_notifier.h"
#include "i18n/message_catalogue.h"
#include "i18n/ui/text_editor_window.h"
#include "core/alert_lengths.h"
#include "core/capcode_rules.h"
#include "core/default_image.h"
#include "core/document.h"
#include "core/frequency.h"
#include "core/prompts.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace {

zrv::app::StartupOptions Options(const QTemporaryDir& folder, zrv::Notifier& notifier) {
    return zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier);
}

/// Starts the program in \p folder until its main window is shown, once per
/// iteration of \p state.
void StartUpsUntilShown(benchmark::State& state, const QTemporaryDir& folder) {
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

void StartUpUntilShown(benchmark::State& state) {
    QTemporaryDir folder;
    StartUpsUntilShown(state, folder);
}

/// Start-up as above with a large Language.ini in the program's folder: the
/// factory catalogue followed by filler lines up to state.range(1) bytes,
/// either one line repeated ("a=b", range(0) == 0) or distinct keys
/// (range(0) == 1). Compared with StartUpUntilShown this is the cost of the
/// file's size.
void StartUpWithLargeLanguageFile(benchmark::State& state) {
    QTemporaryDir folder;
    QFile factory(QDir(QCoreApplication::applicationDirPath()).filePath(zrv::i18n::kDefaultCatalogueName));
    if (!factory.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the factory catalogue was not found");
        return;
    }
    QByteArray bytes = factory.readAll();
    bytes += "[Filler]\r\n";
    const auto size = static_cast<qsizetype>(state.range(1));
    for (qint64 n = 0; bytes.size() < size; ++n)
        bytes += state.range(0) == 0 ? QByteArray("a=b\r\n") : "key" + QByteArray::number(n) + "=text\r\n";
    QFile language(QDir(folder.path()).filePath(zrv::i18n::kLanguageFileName));
    if (!language.open(QIODevice::WriteOnly) || language.write(bytes) != bytes.size()) {
        state.SkipWithError("Language.ini could not be written");
        return;
    }
    language.close();
    StartUpsUntilShown(state, folder);
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

/// The program started in a folder of its own with its main window shown.
struct ShownProgram {
    QTemporaryDir folder;
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app{Options(folder, notifier)};
    zrv::app::MainWindow& main = app.mainWindow();
    ShownProgram() {
        main.show();
        QApplication::processEvents();
    }
};

void FullRefresh(benchmark::State& state) {
    ShownProgram program;
    zrv::app::MainWindow& main = program.main;
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

/// One user edit as the window hears it: \p change applied to the
/// document's image, then noted (one step of the Edit menu's history).
template <class Change>
void Edit(zrv::app::MainWindow& main, Change change) {
    change(main.document().image());
    main.document().noteChanges(zrv::ChangeOrigin::Edit);
}

/// Undo, then redo, of one step (a prompt language with its prompts and
/// logo, the largest step a user makes with one click), each with the full
/// refresh the window does after it; each iteration is one undo or one redo.
void UndoRedoStep(benchmark::State& state) {
    ShownProgram program;
    zrv::app::MainWindow& main = program.main;
    Edit(main, [](zrv::ConfigImage& image) { zrv::ChangePromptLanguage(image, 1); });
    QUndoStack& stack = main.history().stack();
    if (!stack.canUndo()) state.SkipWithError("the edit was not recorded");
    const zrv::ConfigImage edited = main.document().image();
    for (auto _ : state) {
        if (stack.canUndo())
            stack.undo();
        else
            stack.redo();
    }
    if (stack.canRedo()) stack.redo();
    if (main.document().image() != edited) state.SkipWithError("redo did not give the edited image");
}

/// Resident memory of this process in bytes.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

/// The memory a hundred undoable edits keep: capcodes and prompt languages
/// in turn (a prompt language changes every prompt and the logo).
void HundredEditsMemory(benchmark::State& state) {
    ShownProgram program;
    zrv::app::MainWindow& main = program.main;
    double grown = 0;
    for (auto _ : state) {
        main.history().stack().clear();
        const double before = ResidentBytes();
        for (int n = 0; n < 100; ++n) {
            Edit(main, [n](zrv::ConfigImage& image) {
                if (n % 2 == 0)
                    (void)zrv::StoreCapcodeText(image, n % 16, std::to_string(100000 + n));
                else
                    zrv::ChangePromptLanguage(image, (n / 2) % 2);
            });
            main.refreshAll();
        }
        grown = ResidentBytes() - before;
        if (main.history().stack().count() != 100) state.SkipWithError("not every edit was recorded");
    }
    state.counters["grown_MB"] = grown / (1 << 20);
}

/// The UI text editor over the factory catalogue (about 1,500 keys): \p step
/// is timed with the editor shown in a window whose program folder holds
/// DefLang.dat as its Language.ini.
template <class Step>
void TextEditor(benchmark::State& state, Step step) {
    QTemporaryDir folder;
    const QString factory = QDir(QCoreApplication::applicationDirPath()).filePath(zrv::i18n::kDefaultCatalogueName);
    QFile::copy(factory, QDir(folder.path()).filePath(zrv::i18n::kLanguageFileName));
    QFile::copy(factory, QDir(folder.path()).filePath(zrv::i18n::kDefaultCatalogueName));
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app(Options(folder, notifier));
    app.mainWindow().show();
    zrv::i18n::ui::TextEditorWindow& editor = *app.companions().frmLang;
    editor.show();
    QApplication::processEvents();
    const std::filesystem::path lang = (folder.path() + QStringLiteral("/all.lang")).toStdString();
    editor.model().SaveAs(lang);
    if (editor.model().rows().size() < 1000) state.SkipWithError("the factory catalogue was not found");
    for (auto _ : state) step(editor, lang);
    editor.hide();
}

void TextEditorFill(benchmark::State& state) {
    TextEditor(state, [](zrv::i18n::ui::TextEditorWindow& editor, const std::filesystem::path&) { editor.FormShow(); });
}

void TextEditorApply(benchmark::State& state) {
    TextEditor(state, [](zrv::i18n::ui::TextEditorWindow& editor, const std::filesystem::path&) {
        editor.model().Apply();
    });
}

void TextEditorLoad(benchmark::State& state) {
    zrv::app::SilentNotifier quiet;
    TextEditor(state, [&quiet](zrv::i18n::ui::TextEditorWindow& editor, const std::filesystem::path& lang) {
        editor.model().Load(lang, quiet);
    });
}

}  // namespace

BENCHMARK(TextEditorFill)->Unit(benchmark::kMillisecond);
BENCHMARK(TextEditorApply)->Unit(benchmark::kMillisecond);
BENCHMARK(TextEditorLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpUntilShown)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StartUpWithLargeLanguageFile)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Args({0, 5 << 20})
    ->Args({1, 5 << 20})
    ->Args({1, 15 << 20});
BENCHMARK(FullRefresh)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoRedoStep)->Unit(benchmark::kMillisecond);
BENCHMARK(HundredEditsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication qapp(argc, argv);
    zrv::app::UseDesignFont();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
