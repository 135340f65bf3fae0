// Where the program keeps its files, run from the build folder and
// installed; a table file named on the command line or dropped on the window.
#include <sys/stat.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QDeadlineTimer>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QThread>
#include <QUrl>

#include "app/program_folders.h"
#include "app/single_instance.h"
#include "core/default_image.h"
#include "core/table_file.h"
#include "i18n/message_catalogue.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolders, BuildFolderKeepsItsFilesBesideTheProgramAndAnInstalledOneInTheUsersFolder) {
    TempDir root;
    // A build folder: DefLang.dat beside the executable.
    fs::create_directories(root / "build/bin");
    WriteFile(root / "build/bin/DefLang.dat", "[English]\r\n");
    const auto build = app::ResolveProgramFolders(root / "build/bin", root / "cwd", root / "home/.local/share");
    EXPECT_FALSE(build.installed);
    EXPECT_EQ(build.program, root / "build/bin");
    EXPECT_EQ(build.working, root / "cwd");

    // Installed: PREFIX/bin and PREFIX/share/zrv41k/DefLang.dat.
    fs::create_directories(root / "prefix/bin");
    fs::create_directories(root / "prefix/share/zrv41k");
    WriteFile(root / "prefix/share/zrv41k/DefLang.dat", "[English]\r\nMsg1=x\r\n");
    const auto installed = app::ResolveProgramFolders(root / "prefix/bin", root / "cwd", root / "home/.local/share");
    ASSERT_TRUE(installed.installed);
    EXPECT_EQ(installed.program, root / "home/.local/share/zrv41k");
    EXPECT_EQ(installed.working, installed.program);
    std::string error;
    ASSERT_TRUE(app::PrepareProgramFolders(installed, root / "prefix/bin", error)) << error;
    EXPECT_EQ(ReadFile(installed.program / "DefLang.dat"), "[English]\r\nMsg1=x\r\n");
    EXPECT_EQ(ReadFile(installed.program / "Language.ini"), "[English]\r\nMsg1=x\r\n");
    // A user's Language.ini is never replaced.
    WriteFile(installed.program / "Language.ini", "[Setting]\r\nLanguage=German\r\n");
    ASSERT_TRUE(app::PrepareProgramFolders(installed, root / "prefix/bin", error));
    EXPECT_EQ(ReadFile(installed.program / "Language.ini"), "[Setting]\r\nLanguage=German\r\n");
}

using StartFileTest = WindowTest;

TEST_F(StartFileTest, InstalledFoldersTakeEverySaveAndNothingGoesBesideTheProgram) {
    TempDir prefix, home;
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/zrv41k");
    fs::copy_file(SourceDir() / "i18n" / i18n::kDefaultCatalogueName, prefix / "share/zrv41k/DefLang.dat");
    const auto folders = app::ResolveProgramFolders(prefix / "bin", workingDir.path(), home / ".local/share");
    std::string error;
    ASSERT_TRUE(app::PrepareProgramFolders(folders, prefix / "bin", error));
    options.programFolder = folders.program;
    options.workingFolder = folders.working;
    start();
    win().action("mnuSave")->trigger();  // no file opened: Save writes the program folder's default.tbl
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_TRUE(fs::exists(home / ".local/share/zrv41k/default.tbl"));
    EXPECT_TRUE(fs::is_empty(prefix / "bin"));
    EXPECT_TRUE(fs::is_empty(workingDir.path()));
}

TEST_F(StartFileTest, RunFromTheBuildFolderTheLanguageFilesAreSeededAndGermanWorksAtOnce) {
    TempDir build, home;
    const std::string factory = ReadFile(SourceDir() / "i18n" / i18n::kDefaultCatalogueName);
    WriteFile(build / i18n::kDefaultCatalogueName, factory);
    const auto folders = app::ResolveProgramFolders(build.path(), workingDir.path(), home / ".local/share");
    ASSERT_FALSE(folders.installed);
    std::string error;
    ASSERT_TRUE(app::PrepareProgramFolders(folders, build.path(), error)) << error;
    EXPECT_EQ(ReadFile(build / i18n::kLanguageFileName), factory);       // the text editor's
    EXPECT_EQ(ReadFile(workingDir / i18n::kLanguageFileName), factory);  // the main window's
    options.programFolder = folders.program;
    options.workingFolder = folders.working;
    start();
    win().action("mnuGerman")->trigger();
    EXPECT_TRUE(win().action("mnuGerman")->isChecked());
    EXPECT_EQ(win().findChild<QPushButton*>("btnSelect")->text(), QString::fromUtf8("Alarml\u00e4nge w\u00e4hlen"));
    EXPECT_TRUE(notifier.shown.empty());

    // A Language.ini that is there, even a link to nothing, is never replaced.
    TempDir again;
    WriteFile(again / i18n::kDefaultCatalogueName, factory);
    WriteFile(again / i18n::kLanguageFileName, "[Setting]\r\nLanguage=German\r\n");
    fs::create_symlink(again / "gone", workingDir / "other");
    const auto user = app::ResolveProgramFolders(again.path(), workingDir.path(), home / ".local/share");
    fs::remove(workingDir / i18n::kLanguageFileName);
    fs::rename(workingDir / "other", workingDir / i18n::kLanguageFileName);
    ASSERT_TRUE(app::PrepareProgramFolders(user, again.path(), error)) << error;
    EXPECT_EQ(ReadFile(again / i18n::kLanguageFileName), "[Setting]\r\nLanguage=German\r\n");
    EXPECT_TRUE(fs::is_symlink(workingDir / i18n::kLanguageFileName));
    EXPECT_FALSE(fs::exists(again / "gone"));
}

TEST_F(StartFileTest, ALanguageFileLinkedToAFifoIsReportedOnceAndLeftAlone) {
    ASSERT_EQ(mkfifo((workingDir / "fifo").c_str(), 0644), 0);
    fs::create_symlink(workingDir / "fifo", workingDir / i18n::kLanguageFileName);
    start();  // returns: the FIFO is never waited on
    ASSERT_EQ(notifier.keys(), std::vector<std::string>{"MsgLanguageFileNotRegular"});
    EXPECT_TRUE(win().action("mnuEnglish")->isChecked());
    EXPECT_EQ(win().findChild<QPushButton*>("btnSelect")->text(), "Alert Length Select");
    win().action("mnuGerman")->trigger();  // refused by the file, not written through the link
    EXPECT_TRUE(fs::is_symlink(workingDir / i18n::kLanguageFileName));
    EXPECT_EQ(fs::status(workingDir / "fifo").type(), fs::file_type::fifo);
    EXPECT_EQ(notifier.keys().size(), 1u);
}

TEST_F(StartFileTest, ATableFileNamedAtStartOrDroppedOpensAsFileOpenDoes) {
    ConfigImage other = StartupImage();
    other.setByte(0x1280, 0x00);
    other.setByte(0x1281, 0x01);
    other.setByte(0x1282, 0x50);  // capcode 1 = 42
    const auto path = workingDir / "start.tbl";
    ASSERT_FALSE(SaveTableFile(path, other, 16));
    options.openAtStart = path;
    start();
    EXPECT_EQ(win().registry().get<QLineEdit>("edtCap", 0)->text(), "0000042");
    EXPECT_NE(win().windowTitle().indexOf("start.tbl"), -1);

    other.setByte(0x1282, 0x58);  // 43
    const auto dropped = workingDir / "dropped.tbl";
    ASSERT_FALSE(SaveTableFile(dropped, other, 16));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&win(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&win(), &drop);
    EXPECT_EQ(win().registry().get<QLineEdit>("edtCap", 0)->text(), "0000043");

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(QString::fromStdString((workingDir / "notes.txt").string()))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&win(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

// A text field takes a dragged text as text, but a dragged table file opens.
TEST_F(StartFileTest, ATableFileDroppedOnATextFieldOpensAndTextStillDropsAsText) {
    start();
    ConfigImage other = StartupImage();
    other.setByte(0x1280, 0x00);
    other.setByte(0x1281, 0x01);
    other.setByte(0x1282, 0x58);  // capcode 1 = 43
    const auto dropped = workingDir / "onfield.tbl";
    ASSERT_FALSE(SaveTableFile(dropped, other, 16));
    QLineEdit& field = *win().registry().get<QLineEdit>("edtCap", 1);
    const auto dragOnto = [&](QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&field, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&field, &drop);
    };

    QMimeData text;
    text.setText("1234567");
    field.clear();
    dragOnto(text);
    EXPECT_EQ(field.text(), "1234567");
    EXPECT_EQ(win().windowTitle().indexOf("onfield.tbl"), -1);

    QMimeData table;
    table.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped.string()))});
    table.setText(QString::fromStdString(dropped.string()));  // as file managers offer it
    dragOnto(table);
    EXPECT_EQ(win().registry().get<QLineEdit>("edtCap", 0)->text(), "0000043");
    EXPECT_NE(win().windowTitle().indexOf("onfield.tbl"), -1);
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(StartFileTest, OpenRecentListsTheLastEightFilesAndOpensThem) {
    start();
    QMenu* recent = win().findChild<QMenu*>("mnuRecent");
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isEnabled());  // nothing opened yet
    ConfigImage image = StartupImage();
    image.setByte(0x1280, 0);
    image.setByte(0x1281, 0);
    for (int k = 0; k < 10; ++k) {
        image.setByte(0x1282, static_cast<std::uint8_t>(8 * (k + 1)));  // capcode 1 = k + 1
        const auto path = workingDir / ("f" + std::to_string(k) + ".tbl");
        ASSERT_FALSE(SaveTableFile(path, image, 16));
        nextOpen = QString::fromStdString(path.string());
        win().action("mnuOpen")->trigger();
    }
    ASSERT_TRUE(notifier.shown.empty());
    const QStringList list = win().documentCommands().recentFiles();
    ASSERT_EQ(list.size(), 8);
    EXPECT_TRUE(list.front().endsWith("f9.tbl"));
    EXPECT_TRUE(list.back().endsWith("f2.tbl"));
    ASSERT_EQ(recent->actions().size(), 8);
    EXPECT_EQ(recent->actions().front()->text(), "&1 f9.tbl");

    recent->actions().back()->trigger();  // f2.tbl: capcode 3, and first in the list now
    EXPECT_EQ(win().registry().get<QLineEdit>("edtCap", 0)->text(), "0000003");
    EXPECT_TRUE(win().documentCommands().recentFiles().front().endsWith("f2.tbl"));

    // A file that has gone: Open says why, and it leaves the list.
    std::filesystem::remove(workingDir / "f9.tbl");
    for (QAction* a : recent->actions())
        if (a->text().endsWith("f9.tbl")) a->trigger();
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].english,
              "Open Error ! [" + (workingDir / "f9.tbl").string() + "]: No such file or directory");
    for (const QString& path : win().documentCommands().recentFiles()) EXPECT_FALSE(path.endsWith("f9.tbl"));

    // Opening the menu shows an entry whose file has gone as disabled, and
    // enabled again once the file is back.
    const auto entry = [&](const char* name) -> QAction* {
        for (QAction* a : recent->actions())
            if (a->text().endsWith(name)) return a;
        return nullptr;
    };
    std::filesystem::remove(workingDir / "f8.tbl");
    recent->popup(QPoint(0, 0));
    ASSERT_NE(entry("f8.tbl"), nullptr);
    EXPECT_FALSE(entry("f8.tbl")->isEnabled());
    EXPECT_TRUE(entry("f2.tbl")->isEnabled());
    recent->hide();
    ASSERT_FALSE(SaveTableFile(workingDir / "f8.tbl", image, 16));
    recent->popup(QPoint(0, 0));
    EXPECT_TRUE(entry("f8.tbl")->isEnabled());
    recent->hide();

    // Save As puts the saved file first; the list survives a restart.
    nextSave = QString::fromStdString((workingDir / "saved.tbl").string());
    win().action("mnuSaveAs")->trigger();
    EXPECT_TRUE(win().documentCommands().recentFiles().front().endsWith("saved.tbl"));
    app_.reset();
    start();
    EXPECT_TRUE(win().documentCommands().recentFiles().front().endsWith("saved.tbl"));
    EXPECT_TRUE(win().findChild<QMenu*>("mnuRecent")->isEnabled());
}

TEST(CommandLine, OneTableFileMayBeNamed) {
    QString error;
    const auto line = app::ParseCommandLine({"--port", "/dev/ttyUSB0", "my.tbl"}, error);
    ASSERT_TRUE(line) << error.toStdString();
    EXPECT_EQ(line->tableFile, "my.tbl");
    EXPECT_FALSE(app::ParseCommandLine({"a.tbl", "b.tbl"}, error));
    EXPECT_NE(error.indexOf("b.tbl"), -1);
}

}  // namespace
}  // namespace zrv::test

namespace zrv::test {
namespace {

TEST(SingleInstanceTest, ASecondProgramIsRefusedAndALockOfAGoneProgramDoesNotCount) {
    TempDir folder;
    const QString path = QString::fromStdString((folder / "zrv41k.lock").string());
    {
        app::SingleInstance first(path);
        ASSERT_TRUE(first.acquired()) << first.refusal().toStdString();
        app::SingleInstance second(path);
        EXPECT_FALSE(second.acquired());
        EXPECT_NE(second.refusal().indexOf(QString::number(QCoreApplication::applicationPid())), -1)
            << second.refusal().toStdString();
        EXPECT_NE(second.refusal().indexOf("already running"), -1);
    }
    // A lock file left behind by a process that has ended.
    WriteFile(folder / "zrv41k.lock",
              "2147483000\nzrv41k\n" + QSysInfo::machineHostName().toStdString() + "\n");
    app::SingleInstance after(path);
    EXPECT_TRUE(after.acquired()) << after.refusal().toStdString();
}

/// Starts of the built zrv41k offscreen in a runtime, home and working
/// folder of their own, so that they meet each other but not the user's
/// program. A running one prints its caption after each hand-over.
struct ProgramStarts {
    TempDir runtime, home, work;

    // A runtime folder others may enter is refused for one in /tmp.
    ProgramStarts() { fs::permissions(runtime.path(), fs::perms::owner_all); }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
        env.insert("HOME", QString::fromStdString(home.path().string()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / ".config").string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString((home / ".local/share").string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZRV41K_PRINT_HANDOVER", "1");
        return env;
    }
    void start(QProcess& program, const QStringList& args) const {
        program.setProcessEnvironment(environment());
        program.setWorkingDirectory(QString::fromStdString(work.path().string()));
        program.start(QString::fromStdString((BinDir() / "zrv41k").string()), args);
    }
    /// A start that is to end by itself: its status and what it said on stderr.
    std::pair<int, std::string> run(const QStringList& args) const {
        QProcess program;
        start(program, args);
        if (!program.waitForFinished(60000)) {
            program.kill();
            program.waitForFinished();
            return {-1, "did not end"};
        }
        return {program.exitCode(), program.readAllStandardError().toStdString()};
    }
};

/// The next line \p program prints, or "" when none comes.
std::string NextLine(QProcess& program) {
    const QDeadlineTimer deadline(60000);
    while (!program.canReadLine() && !deadline.hasExpired()) program.waitForReadyRead(1000);
    return program.readLine().trimmed().toStdString();
}

// A second start hands its table file (named relative to its own folder) or
// nothing to the running program and ends with status 0; the running one
// opens the file. A program killed before, whose lock and socket are left
// behind, does not keep the next start from taking over.
TEST(HandOverTest, ASecondStartHandsItsFileToTheRunningProgramAndEnds) {
    ProgramStarts starts;
    ConfigImage image = StartupImage();
    ASSERT_FALSE(SaveTableFile(starts.work / "ward3.tbl", image, 16));
    const std::string absolute = (starts.work / "ward3.tbl").string();
    const QStringList noBoard{"--port", QString::fromStdString((starts.work / "no-board").string())};
    for (const char* round : {"first run", "after a killed run"}) {
        SCOPED_TRACE(round);
        QProcess running;
        starts.start(running, noBoard);
        ASSERT_TRUE(running.waitForStarted());
        // The running program is first once its lock names it.
        const std::string holder = std::to_string(running.processId()) + "\n";
        const QDeadlineTimer deadline(60000);
        while (ReadFile(starts.runtime / "zrv41k.lock").rfind(holder, 0) != 0 && !deadline.hasExpired())
            QThread::msleep(20);
        ASSERT_EQ(ReadFile(starts.runtime / "zrv41k.lock").rfind(holder, 0), 0u);

        EXPECT_EQ(starts.run({}), (std::pair<int, std::string>{0, ""}));  // brings the window forward
        EXPECT_EQ(NextLine(running).rfind("handed over: ", 0), 0u);

        EXPECT_EQ(starts.run({"ward3.tbl"}), (std::pair<int, std::string>{0, ""}));
        const std::string caption = NextLine(running);
        EXPECT_NE(caption.find("[" + absolute + "]"), std::string::npos) << caption;
        running.kill();  // leaves its lock file and socket behind
        running.waitForFinished();
    }
}

// With the lock held by a program that does not answer, a second start says
// so and ends with status 1.
TEST(HandOverTest, ASecondStartNobodyAnswersEndsWithTheMessage) {
    ProgramStarts starts;
    const app::SingleInstance holder(QString::fromStdString((starts.runtime / "zrv41k.lock").string()));
    ASSERT_TRUE(holder.acquired());
    const auto [status, said] = starts.run({"ward3.tbl"});
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("zrv41k is already running (process " + std::to_string(QCoreApplication::applicationPid())),
              std::string::npos)
        << said;
}

}  // namespace
}  // namespace zrv::test
