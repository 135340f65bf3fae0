#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// A valid full table file's bytes: the start-up image saved with 16 capcodes.
std::string ValidTable() {
    auto image = StartupImage();
    ClearUnusedCapcodes(image, 16);
    StampIdentityForSave(image);
    StoreTableChecksum(image);
    return std::string(image.bytes().begin(), image.bytes().end());
}

// An image that differs from every table the tests write.
ConfigImage Marked() {
    ConfigImage image;
    image.fill(0, kImageSize, 0x5A);
    return image;
}

struct LoadFixture : ::testing::Test {
    TempDir dir;
    ConfigImage image = Marked();
    int count = 40;

    TableFileResult Load(const std::string& bytes, const std::string& name = "t.tbl") {
        WriteFile(dir / name, bytes);
        return LoadTableFile(dir / name, image, count);
    }
    void ExpectUnchanged() {
        EXPECT_EQ(image, Marked());
        EXPECT_EQ(count, 40);
    }
};

TEST_F(LoadFixture, EveryWrongSizeIsRejectedWithMsg61) {
    const std::string valid = ValidTable();
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3455}, std::size_t{3457},
                             std::size_t{22015}, std::size_t{22017}, std::size_t{30000}}) {
        std::string bytes = valid;
        bytes.resize(size, '\0');
        const auto r = Load(bytes);
        EXPECT_FALSE(r.ok) << size;
        EXPECT_FALSE(r.sizeAccepted) << size;
        ASSERT_TRUE(r.message) << size;
        EXPECT_EQ(r.message->key, "Msg61");
        EXPECT_EQ(r.message->english, "The file size is error !");
        ExpectUnchanged();
    }
}

TEST_F(LoadFixture, IdentityWrongInItsLastCharacterGivesMsg45NamingTheFile) {
    std::string bytes = ValidTable();
    bytes[0x3E7] = 'L';
    const auto r = Load(bytes, "other.tbl");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.sizeAccepted);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg45");
    const std::string name = (dir / "other.tbl").string();
    EXPECT_EQ(r.message->english, "The [" + name + "] is not correct format, the file will discard !");
    EXPECT_EQ(r.message->args, std::vector<std::string>{name});
    ExpectUnchanged();
}

TEST_F(LoadFixture, IdentityIsCheckedBeforeTheChecksum) {
    std::string bytes = ValidTable();
    bytes[0x3E1] = 'X';
    bytes[0x36C] ^= 1;
    const auto r = Load(bytes);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg45");
}

TEST_F(LoadFixture, IdentityDifferingOnlyFrom0x3E8OnwardLoads) {
    std::string bytes = ValidTable();
    for (std::size_t i = 0x3E8; i <= 0x3EF; ++i) bytes[i] = '#';
    const auto r = Load(bytes);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.message);
}

TEST_F(LoadFixture, ChecksumCoversByte0x36CButNot0x36DOr0x7FD) {
    std::string bytes = ValidTable();
    bytes[0x36C] = static_cast<char>(bytes[0x36C] + 1);
    auto r = Load(bytes);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg70");
    EXPECT_EQ(r.message->english, "Checksum Error, the file will discard !");
    ExpectUnchanged();

    bytes = ValidTable();
    bytes[0x7FF] = static_cast<char>(bytes[0x7FF] + 1);  // stored sum off by one
    r = Load(bytes);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg70");
    ExpectUnchanged();

    for (std::size_t at : {0x36D, 0x7FD}) {
        bytes = ValidTable();
        bytes[at] = static_cast<char>(bytes[at] + 1);
        image = Marked();
        r = Load(bytes);
        EXPECT_TRUE(r.ok) << at;
        EXPECT_EQ(image.byte(at), static_cast<std::uint8_t>(bytes[at]));
    }
}

TEST_F(LoadFixture, FullLoadCopiesEveryByteThenAppliesTheLoadValues) {
    std::string bytes = ValidTable();
    bytes[0x520] = 0x11;   // forced back to 0x96
    bytes[0x1246] = 48;    // forced back to 16
    bytes[0x5000] = 0x42;  // copied as is
    const auto r = Load(bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.form, TableForm::Full);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(image.byte(0x1246), 16);
    EXPECT_EQ(image.byte(0x520), 0x96);
    EXPECT_EQ(image.byte(0x5000), 0x42);
    ConfigImage expected;
    std::copy(bytes.begin(), bytes.end(), expected.bytes().begin());
    int c = 0;
    NormaliseAfterLoad(expected, c);
    EXPECT_EQ(image, expected);
}

TEST_F(LoadFixture, ShortFormSkipsTheChecksumAndKeepsTheRestOfTheImage) {
    std::string bytes = ValidTable().substr(0, 3456);
    bytes[0x36C] ^= 0x10;  // the checksum no longer matches: not checked
    const auto r = Load(bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.form, TableForm::Short);
    EXPECT_EQ(image.byte(0x36C), static_cast<std::uint8_t>(bytes[0x36C]));
    for (std::size_t i = 0xD80; i < kImageSize; ++i) {
        if (i == 0x1246) continue;
        ASSERT_EQ(image.byte(i), 0x5A) << std::hex << i;
    }
    EXPECT_EQ(image.byte(0x1246), 16);  // the load values reach past the short form
}

TEST_F(LoadFixture, ShortFormStillNeedsTheIdentity) {
    std::string bytes = ValidTable().substr(0, 3456);
    bytes[0x3E4] = '4';
    const auto r = Load(bytes);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg45");
    ExpectUnchanged();
}

TEST_F(LoadFixture, WithoutTheSizeCheckAPartialFileIsStillRefused) {
    std::string bytes = ValidTable();
    bytes.resize(10000);
    WriteFile(dir / "default.tbl", bytes);
    const auto r = LoadTableFile(dir / "default.tbl", image, count, false);
    EXPECT_FALSE(r.ok);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg61");
    ExpectUnchanged();
    WriteFile(dir / "default.tbl", ValidTable());
    EXPECT_TRUE(LoadTableFile(dir / "default.tbl", image, count, false).ok);
}

TEST(TableFileCheck, ReportsTheFormAndChangesNothing) {
    TempDir dir;
    WriteFile(dir / "full.tbl", ValidTable());
    WriteFile(dir / "short.tbl", ValidTable().substr(0, 3456));
    const auto full = CheckTableFile(dir / "full.tbl");
    const auto shortForm = CheckTableFile(dir / "short.tbl");
    EXPECT_TRUE(full.ok);
    EXPECT_EQ(full.form, TableForm::Full);
    EXPECT_TRUE(shortForm.ok);
    EXPECT_EQ(shortForm.form, TableForm::Short);
    EXPECT_EQ(ReadFile(dir / "full.tbl"), ValidTable());
}

TEST(TableFileBytes, AFileOfEitherSizeIsReadAsStoredWhateverItsContents) {
    TempDir dir;
    std::string broken = ValidTable();
    broken[0x3E1] = 'X';   // identity and checksum both wrong
    broken[0x36C] ^= 1;
    WriteFile(dir / "b.tbl", broken);
    WriteFile(dir / "s.tbl", broken.substr(0, 3456));
    WriteFile(dir / "odd.tbl", broken.substr(0, 3457));
    std::vector<std::uint8_t> bytes;
    auto r = ReadStoredTableBytes(dir / "b.tbl", bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.form, TableForm::Full);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), broken);
    r = ReadStoredTableBytes(dir / "s.tbl", bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.form, TableForm::Short);
    EXPECT_EQ(bytes.size(), 3456u);
    const auto kept = bytes;
    r = ReadStoredTableBytes(dir / "odd.tbl", bytes);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg61");
    r = ReadStoredTableBytes(dir / "none.tbl", bytes);
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->key, "Msg62");
    EXPECT_EQ(bytes, kept);
}

TEST(TableFileSave, SaveThenOpenGivesTheSavedImageBack) {
    TempDir dir;
    auto image = StartupImage();
    image.setByte(0x2B00, 0x33);
    ASSERT_FALSE(SaveTableFile(dir / "a.tbl", image, 16));
    // The save stamped the image itself: two spaces in the identity, checksum.
    EXPECT_EQ(image.byte(0x3E9), ' ');
    EXPECT_EQ(image.byte(0x3EA), 'V');
    EXPECT_EQ(image.byte(0x3EF), '9');  // left from the default identity
    EXPECT_EQ(image.word(0x7FE), TableChecksum(image));
    const std::string file = ReadFile(dir / "a.tbl");
    ASSERT_EQ(file.size(), kImageSize);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), image.bytes().begin(),
                           [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));

    ConfigImage loaded = Marked();
    int count = 0;
    ASSERT_TRUE(LoadTableFile(dir / "a.tbl", loaded, count).ok);
    auto expected = image;
    int c = 0;
    NormaliseAfterLoad(expected, c);
    EXPECT_EQ(loaded, expected);
    // A second save of the loaded image reaches the same bytes: a fixed point.
    ASSERT_FALSE(SaveTableFile(dir / "b.tbl", loaded, count));
    ConfigImage again = Marked();
    ASSERT_TRUE(LoadTableFile(dir / "b.tbl", again, count).ok);
    EXPECT_EQ(again, loaded);
}

TEST(TableFileSave, ClearsCapcodesBeyondTheCount) {
    TempDir dir;
    auto image = StartupImage();
    image.fill(0x1280, 48 * 3, 0x11);
    ASSERT_FALSE(SaveTableFile(dir / "a.tbl", image, 16));
    const std::string file = ReadFile(dir / "a.tbl");
    EXPECT_EQ(static_cast<std::uint8_t>(file[0x12AF]), 0x11);
    EXPECT_EQ(static_cast<std::uint8_t>(file[0x12B0]), 0x00);
    EXPECT_EQ(static_cast<std::uint8_t>(file[0x130C]), 0x00);
    EXPECT_EQ(static_cast<std::uint8_t>(file[0x130D]), 0x11);
}

TEST(TableFileSave, OverALongerFileLeavesExactlyTheImage) {
    TempDir dir;
    WriteFile(dir / "a.tbl", std::string(30000, 'x'));
    auto image = StartupImage();
    ASSERT_FALSE(SaveTableFile(dir / "a.tbl", image, 16));
    EXPECT_EQ(fs::file_size(dir / "a.tbl"), kImageSize);
    EXPECT_TRUE(CheckTableFile(dir / "a.tbl").ok);
}

TEST(TableFileSave, ANameAtTheFileSystemsLengthLimitCanBeSaved) {
    TempDir dir;
    const auto path = dir / (std::string(251, 'n') + ".tbl");  // 255 characters
    auto image = StartupImage();
    ASSERT_FALSE(SaveTableFile(path, image, 16));
    EXPECT_TRUE(CheckTableFile(path).ok);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(TableFileSave, ReplacesTheFileBehindALinkAndKeepsItsPermissions) {
    TempDir dir;
    WriteFile(dir / "real.tbl", "old");
    fs::permissions(dir / "real.tbl", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(dir / "real.tbl", dir / "link.tbl");
    auto image = StartupImage();
    ASSERT_FALSE(SaveTableFile(dir / "link.tbl", image, 16));
    EXPECT_TRUE(fs::is_symlink(dir / "link.tbl"));
    EXPECT_EQ(fs::file_size(dir / "real.tbl"), kImageSize);
    EXPECT_EQ(fs::status(dir / "real.tbl").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(TableFileSave, UnwritableTargetsGiveMsg57AndChangeNothing) {
    TempDir dir;
    auto image = StartupImage();
    image.fill(0x1290, 3, 0x22);  // slot 5, which a save with count 0 would clear
    const auto before = image;
    const auto noFolder = SaveTableFile(dir / "no" / "such" / "a.tbl", image, 0);
    ASSERT_TRUE(noFolder);
    EXPECT_EQ(noFolder->key, "Msg57");
    EXPECT_EQ(noFolder->english, "Save Error !");
    fs::create_directory(dir / "taken.tbl");
    WriteFile(dir / "taken.tbl" / "inside", "keep");
    const auto onFolder = SaveTableFile(dir / "taken.tbl", image, 0);
    ASSERT_TRUE(onFolder);
    EXPECT_EQ(onFolder->key, "MsgNotRegularFile");
    EXPECT_EQ(image, before);
    EXPECT_EQ(ReadFile(dir / "taken.tbl" / "inside"), "keep");
    // No temporary file is left behind.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

// A table file the user made read-only is not replaced, although its folder
// would let a new file take its name. The save runs in a child process
// without superuser rights, which would override the file's mode.
TEST(TableFileSave, AReadOnlyFileGivesMsg57AndStaysAsItWas) {
    TempDir dir;
    const std::string old = ValidTable();
    WriteFile(dir / "a.tbl", old);
    fs::permissions(dir / "a.tbl", fs::perms::owner_read | fs::perms::group_read |
                                       fs::perms::others_read);
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir.path().c_str(), kNobody, kNobody), 0);
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        auto image = StartupImage();
        const auto before = image;
        const auto result = SaveTableFile(dir / "a.tbl", image, 16);
        if (!result) _exit(1);
        _exit(result->key == "Msg57" && image == before ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot give up superuser rights here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved over the file, 2: wrong message or image changed";
    EXPECT_EQ(ReadFile(dir / "a.tbl"), old);
}

// A save whose writing fails half-way (here: a file size limit) leaves the
// previous table file exactly as it was.
TEST(TableFileSave, AWriteThatFailsHalfWayKeepsThePreviousFile) {
    TempDir dir;
    const std::string old = ValidTable();
    WriteFile(dir / "a.tbl", old);
    auto image = StartupImage();
    image.setByte(0x2A02, 'Q');
    const auto before = image;

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 10000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = SaveTableFile(dir / "a.tbl", image, 16);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(result);
    EXPECT_EQ(result->key, "Msg57");
    EXPECT_EQ(ReadFile(dir / "a.tbl"), old);
    EXPECT_EQ(image, before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

// What \p job (run in a child process) said, or "blocked" when it did not
// return (the alarm ends the child).
std::string InChild(const std::function<std::string()>& job) {
    int channel[2];
    if (pipe(channel) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        alarm(20);
        const std::string said = job();
        _exit(write(channel[1], said.data(), said.size()) == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    close(channel[1]);
    std::string said;
    char buf[64];
    for (ssize_t n; (n = read(channel[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return "blocked";
    return said;
}

// A file Open cannot read is named with the system's reason, with and
// without the size check, and neither the image nor the capcode count
// changes. The loads run in a child without superuser rights, which would
// read a file whatever its mode.
TEST(TableFileLoad, AFileThatCannotBeOpenedIsNamedWithTheReason) {
    TempDir dir;
    fs::create_directory(dir / "folder.tbl");
    WriteFile(dir / "locked.tbl", ValidTable());
    fs::permissions(dir / "locked.tbl", fs::perms::none);
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir.path().c_str(), kNobody, kNobody), 0);
    }
    const struct { const char* name; const char* reason; } cases[] = {
        {"missing.tbl", "No such file or directory"},
        {"locked.tbl", "Permission denied"},
        {"folder.tbl", "Is a directory"},
    };
    for (const auto& c : cases) {
        for (const bool checkSize : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (checkSize ? " with" : " without") + " the size check");
            const std::string path = (dir / c.name).string();
            const std::string said = InChild([&] {
                if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) return std::string("root");
                ConfigImage image = Marked();
                int count = 3;
                const auto r = LoadTableFile(path, image, count, checkSize);
                if (r.ok || !r.message) return std::string("loaded");
                if (!(image == Marked()) || count != 3) return std::string("changed");
                std::string said = r.message->key + "|" + r.message->english;
                for (const std::string& arg : r.message->args) said += "|" + arg;
                return said;
            });
            if (said == "root") GTEST_SKIP() << "cannot give up superuser rights here";
            EXPECT_EQ(said, "Msg62|Open Error ! [" + path + "]: " + c.reason + "|" + path + "|" + c.reason);
        }
    }
}

// What a save of the start-up image to \p path said: "saved" or the message key.
std::string SaveInChild(const fs::path& path) {
    return InChild([&] {
        auto image = StartupImage();
        const auto result = SaveTableFile(path, image, 16);
        return result ? result->key : std::string("saved");
    });
}

fs::file_type TypeOf(const fs::path& path) { return fs::symlink_status(path).type(); }

// A save never writes through to, replaces or waits on something that is not
// a regular file; it says so. A link to a regular file is still saved through.
TEST(TableFileSave, RefusesTargetsThatAreNotRegularFilesWithoutBlocking) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
    // A null device of the test's own, so that a faulty save can only harm
    // this folder.
    ASSERT_EQ(mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0)
        << "the tests need the right to make device nodes";
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "fifo", dir / "to-fifo.tbl");
    fs::create_symlink(dir / "null", dir / "to-null.tbl");
    fs::create_symlink(dir / "folder", dir / "to-folder.tbl");
    WriteFile(dir / "real", "old");
    fs::create_symlink(dir / "real", dir / "to-real.tbl");

    const struct {
        const char* name;
        const char* node;
        fs::file_type type;
    } cases[] = {
        {"fifo", "fifo", fs::file_type::fifo},
        {"to-fifo.tbl", "fifo", fs::file_type::fifo},
        {"null", "null", fs::file_type::character},
        {"to-null.tbl", "null", fs::file_type::character},
        {"folder", "folder", fs::file_type::directory},
        {"to-folder.tbl", "folder", fs::file_type::directory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SaveInChild(dir / c.name), "MsgNotRegularFile");
        EXPECT_EQ(TypeOf(dir / c.node), c.type);
    }
    // The system's null device is tried only once the own one was refused,
    // so that a faulty save never replaces it.
    ASSERT_FALSE(HasFailure());
    fs::create_symlink("/dev/null", dir / "system-null.tbl");
    EXPECT_EQ(SaveInChild(dir / "system-null.tbl"), "MsgNotRegularFile");
    EXPECT_EQ(TypeOf("/dev/null"), fs::file_type::character);
    auto image = StartupImage();
    const auto refused = SaveTableFile(dir / "to-fifo.tbl", image, 16);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->english, "The [" + (dir / "to-fifo.tbl").string() + "] is not a regular file, nothing was saved !");
    EXPECT_EQ(refused->args, std::vector<std::string>{(dir / "to-fifo.tbl").string()});

    EXPECT_EQ(SaveInChild(dir / "to-real.tbl"), "saved");
    EXPECT_EQ(TypeOf(dir / "to-real.tbl"), fs::file_type::symlink);
    EXPECT_EQ(fs::file_size(dir / "real"), kImageSize);
    // Nothing but what the test made is left in the folder.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 9u);
}

// Open (also without its size check, as at start-up) refuses a FIFO or a
// device with Msg62 instead of waiting on it.
TEST(TableFileLoad, AFifoOrADeviceIsRefusedWithoutBlocking) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo.tbl").c_str(), 0644), 0);
    ASSERT_EQ(mknod((dir / "null.tbl").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    for (const char* name : {"fifo.tbl", "null.tbl"}) {
        for (const bool checkSize : {true, false}) {
            SCOPED_TRACE(std::string(name) + (checkSize ? " with" : " without") + " the size check");
            EXPECT_EQ(InChild([&] {
                          ConfigImage image = Marked();
                          int count = 0;
                          const auto r = LoadTableFile(dir / name, image, count, checkSize);
                          return r.ok ? std::string("loaded") : r.message->english;
                      }),
                      "Open Error ! [" + (dir / name).string() + "]: not a regular file");
        }
    }
}

// A save killed half-way (here by the signal of a file size limit) leaves the
// previous file as it was and a temporary copy that only the owner can read;
// the next save of that file removes it. Both for a file that exists (mode
// 0600) and for a new one, which gets the mode the umask gives.
TEST(TableFileSave, AKilledSaveLeavesNoReadableCopyAndTheNextSaveRemovesIt) {
    for (const bool exists : {true, false}) {
        SCOPED_TRACE(exists ? "existing 0600 file" : "new file");
        TempDir dir;
        const auto path = dir / "secret.tbl";
        const std::string old = ValidTable();
        if (exists) {
            WriteFile(path, old);
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        }
        const mode_t mask = umask(022);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            struct rlimit limit {10000, 10000};
            struct rlimit noCore {0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            setrlimit(RLIMIT_FSIZE, &limit);
            signal(SIGXFSZ, SIG_DFL);
            auto image = StartupImage();
            SaveTableFile(path, image, 16);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save was expected to be killed";
        EXPECT_EQ(ReadFile(path), exists ? old : "");
        std::vector<fs::path> strays;
        for (const auto& e : fs::directory_iterator(dir.path()))
            if (e.path() != path) strays.push_back(e.path());
        ASSERT_EQ(strays.size(), 1u);
        EXPECT_EQ(fs::status(strays[0]).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);

        auto image = StartupImage();
        EXPECT_FALSE(SaveTableFile(path, image, 16));
        umask(mask);
        EXPECT_FALSE(fs::exists(strays[0]));
        EXPECT_EQ(fs::file_size(path), kImageSize);
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
                  exists ? fs::perms::owner_read | fs::perms::owner_write
                         : fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::others_read);
    }
}

// While one program holds a table file for a change, another finds it in use
// (here without waiting); a save that renamed a new file over the name moves
// the lock to that file.
TEST(TableFileLock, WhileOneProgramHoldsTheFileAnotherFindsItInUse) {
    TempDir dir;
    const auto path = dir / "a.tbl";
    WriteFile(path, ValidTable());
    FileLock first;
    ASSERT_FALSE(LockTableFile(path, first));
    ASSERT_TRUE(first.held());
    FileLock second;
    EXPECT_EQ(second.lock(path, std::chrono::milliseconds(0)), FileLock::Status::InUse);
    EXPECT_FALSE(second.held());
    // A save renames a new file over the name: the lock then belongs on it,
    // and the old file's lock no longer stands in the way.
    auto image = StartupImage();
    ASSERT_FALSE(SaveTableFile(path, image, 16));
    EXPECT_EQ(second.lock(path, std::chrono::milliseconds(0)), FileLock::Status::Locked);
    EXPECT_TRUE(second.held());
    FileLock third;
    EXPECT_EQ(third.lock(path, std::chrono::milliseconds(0)), FileLock::Status::InUse);
    second.release();
    EXPECT_EQ(third.lock(path, std::chrono::milliseconds(0)), FileLock::Status::Locked);
    // Nothing to hold yet for a new file; a FIFO is refused without waiting.
    FileLock fresh;
    EXPECT_FALSE(LockTableFile(dir / "new.tbl", fresh));
    EXPECT_FALSE(fresh.held());
    ASSERT_EQ(mkfifo((dir / "fifo.tbl").c_str(), 0644), 0);
    const auto fifo = LockTableFile(dir / "fifo.tbl", fresh);
    ASSERT_TRUE(fifo);
    EXPECT_EQ(fifo->key, "MsgNotRegularFile");
}

TEST(TableFileCaption, NamesTheFileOnceAfterTheFirstBracket) {
    const std::string start = "ZRV41K USB Version 1.09";
    const auto first = CaptionWithTableName(start, "/data/a.tbl");
    EXPECT_EQ(first, "ZRV41K USB Version 1.09 - [/data/a.tbl]");
    const auto second = CaptionWithTableName(first, "/data/b.tbl");
    EXPECT_EQ(second, "ZRV41K USB Version 1.09 - [/data/b.tbl]");
    EXPECT_EQ(CaptionWithTableName("x [old] [older]", "n"), "x [n]");
}

}  // namespace
}  // namespace zrv
