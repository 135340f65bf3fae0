// Where the program keeps its files, run from the build folder and
// installed; a table file named on the command line or dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/program_folders.h"
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
    win().mnuSaveClick();  // no file opened: Save writes the program folder's default.tbl
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_TRUE(fs::exists(home / ".local/share/zrv41k/default.tbl"));
    EXPECT_TRUE(fs::is_empty(prefix / "bin"));
    EXPECT_TRUE(fs::is_empty(workingDir.path()));
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
