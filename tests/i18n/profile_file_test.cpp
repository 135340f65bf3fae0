#include <gtest/gtest.h>

#include "i18n/profile_file.h"
#include "tests/support/test_support.h"

using zrv::i18n::ProfileData;
using zrv::i18n::ProfileFile;
using zrv::test::ReadFile;
using zrv::test::TempDir;
using zrv::test::WriteFile;

TEST(ProfileRead, NamesIgnoreCaseAndTheFirstSectionAndKeyWin) {
    const auto p = ProfileData::Parse(
        "Stray=before any section\r\n"
        "[English]\r\nMsg1=first\r\nMSG1=second\r\n"
        "[english]\r\nMsg2=from the second English section\r\n");
    EXPECT_EQ(p.read("ENGLISH", "msg1"), "first");
    EXPECT_EQ(p.read("English", "Msg2", "dflt"), "dflt");
    EXPECT_EQ(p.read("English", "Stray", "dflt"), "dflt");
    EXPECT_EQ(p.read("French", "Msg1", "dflt"), "dflt");
}

TEST(ProfileRead, ValuesAreTrimmedUnquotedOnceAndKeepInnerSemicolons) {
    const auto p = ProfileData::Parse(
        "[S]\n"
        "a = \t spaced \t\n"
        "b=\"  kept blanks \"\n"
        "c='\"double\"'\n"
        "d=\"mismatched'\n"
        "e=one; two\n"
        "  ; f=commented out\n"
        "no equals sign here\n"
        "g=\n"
        "h=\"\"\n");
    EXPECT_EQ(p.read("S", "a"), "spaced");
    EXPECT_EQ(p.read("S", "b"), "  kept blanks ");
    EXPECT_EQ(p.read("S", "c"), "\"double\"");
    EXPECT_EQ(p.read("S", "d"), "\"mismatched'");
    EXPECT_EQ(p.read("S", "e"), "one; two");
    EXPECT_EQ(p.read("S", "f", "missing"), "missing");
    // An empty value is a value, not a missing key.
    EXPECT_EQ(p.find("S", "g"), std::optional<std::string>(""));
    EXPECT_EQ(p.find("S", "h"), std::optional<std::string>(""));
    EXPECT_FALSE(p.find("S", "no equals sign here"));
}

TEST(ProfileRead, Windows1252BytesBecomeUtf8) {
    const auto p = ProfileData::Parse("[German]\r\nfm_About=\xDC" "ber\r\n");
    EXPECT_EQ(p.read("German", "fm_About"), "\xC3\x9C" "ber");
}

TEST(ProfileRead, MissingOrUnreadableFileGivesTheDefault) {
    TempDir dir;
    EXPECT_EQ(ProfileFile(dir / "none.ini").readString("S", "k", "dflt"), "dflt");
    EXPECT_EQ(ProfileFile(dir.path()).readString("S", "k", "dflt"), "dflt");  // a folder
}

TEST(ProfileRead, EveryReadSeesTheFileAsItIsNow) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    WriteFile(file.path(), "[S]\r\nk=old\r\n");
    EXPECT_EQ(file.readString("S", "k"), "old");
    WriteFile(file.path(), "[S]\r\nk=new\r\n");
    EXPECT_EQ(file.readString("S", "k"), "new");
}

TEST(ProfileWrite, FirstWriteCreatesTheFileWithCrLf) {
    TempDir dir;
    ProfileFile file(dir / "Language.ini");
    ASSERT_TRUE(file.writeString("Setting", "Language", "English"));
    EXPECT_EQ(ReadFile(file.path()), "[Setting]\r\nLanguage=English\r\n");
    // The folder must exist.
    EXPECT_FALSE(ProfileFile(dir / "no" / "such.ini").writeString("S", "k", "v"));
}

TEST(ProfileWrite, UpdatesInPlaceKeepingSpellingCommentsAndOtherLines) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    WriteFile(file.path(),
              "; header comment\r\n"
              "[setting]\r\n"
              "  LANGUAGE = German\r\n"
              "odd line\r\n"
              "[English]\r\n"
              "Msg1=one\r\n"
              "; trailing comment\r\n"
              "\r\n"
              "[German]\r\n"
              "Msg1=eins\r\n"
              "[german]\r\n"
              "Msg2=not the first German section");  // no final line end
    ASSERT_TRUE(file.writeString("Setting", "Language", "English"));
    ASSERT_TRUE(file.writeString("English", "Msg2", "two"));
    ASSERT_TRUE(file.writeStrings("German", {{"Msg2", "zwei"}, {"msg2", "ZWEI"}}));
    ASSERT_TRUE(file.writeString("French", "Msg1", "un"));
    EXPECT_EQ(ReadFile(file.path()),
              "; header comment\r\n"
              "[setting]\r\n"
              "LANGUAGE=English\r\n"
              "odd line\r\n"
              "[English]\r\n"
              "Msg1=one\r\n"
              "Msg2=two\r\n"
              "; trailing comment\r\n"
              "\r\n"
              "[German]\r\n"
              "Msg1=eins\r\n"
              "Msg2=ZWEI\r\n"
              "[german]\r\n"
              "Msg2=not the first German section\r\n"
              "[French]\r\n"
              "Msg1=un\r\n");
}

TEST(ProfileWrite, ValuesCannotInjectLinesAndBadKeysAreRefused) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    WriteFile(file.path(), "[English]\r\nMsg1=one\r\n");
    ASSERT_TRUE(file.writeString("English", "Msg2", "x\r\n[Setting]\r\nLanguage=Evil"));
    EXPECT_EQ(file.readString("Setting", "Language", "none"), "none");
    EXPECT_EQ(file.readString("English", "Msg2"), "x  [Setting]  Language=Evil");
    const std::string before = ReadFile(file.path());
    EXPECT_FALSE(file.writeString("English", "a=b", "v"));
    EXPECT_FALSE(file.writeString("English", "", "v"));
    EXPECT_FALSE(file.writeString("Eng]lish", "k", "v"));
    EXPECT_EQ(ReadFile(file.path()), before);
}

TEST(ProfileWrite, ValuesTheReadingRuleWouldChangeAreQuotedSoTheyReadBack) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    const std::vector<std::pair<std::string, std::string>> values{
        {"lead", "  The Programmed Board Connect !"}, {"quoted", "\"q\""}, {"single", "'s'"},
        {"both", " x  \t"}, {"tail", "transmit success  \t"}, {"blank", "        "}, {"plain", "a \"b\""}};
    ASSERT_TRUE(file.writeStrings("S", values));
    const auto p = file.load();
    EXPECT_EQ(p.read("S", "lead"), "  The Programmed Board Connect !");
    EXPECT_EQ(p.read("S", "quoted"), "\"q\"");
    EXPECT_EQ(p.read("S", "single"), "'s'");
    EXPECT_EQ(p.read("S", "both"), " x  \t");
    // Trailing blanks of a text are its own: they are written in quotes and read back.
    EXPECT_EQ(p.read("S", "tail"), "transmit success  \t");
    EXPECT_EQ(p.find("S", "blank"), std::optional<std::string>("        "));
    EXPECT_EQ(p.read("S", "plain"), "a \"b\"");
    // Writing what was read changes nothing.
    for (const auto& [key, value] : p.entries("S")) ASSERT_TRUE(file.writeString("S", key, value));
    for (const auto& [key, value] : p.entries("S")) EXPECT_EQ(file.readString("S", key), value) << key;
}

TEST(ProfileWrite, ReplacingKeepsALongNameTheFilesModeAndALink) {
    TempDir dir;
    // A name near the file system's limit of 255 bytes.
    const auto longName = dir / (std::string(250, 'n') + ".lang");
    ASSERT_TRUE(zrv::i18n::WriteFileAtomically(longName, "a\t\r\n"));
    EXPECT_EQ(ReadFile(longName), "a\t\r\n");
    ProfileFile file(dir / "Language.ini");
    WriteFile(file.path(), "[S]\r\nk=old\r\n");
    std::filesystem::permissions(file.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_TRUE(file.writeString("S", "k", "new"));
    EXPECT_EQ(std::filesystem::status(file.path()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // Through a link the file it names is replaced, not the link.
    std::filesystem::create_symlink(file.path(), dir / "link.ini");
    ASSERT_TRUE(ProfileFile(dir / "link.ini").writeString("S", "k", "linked"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(file.readString("S", "k"), "linked");
    // Nothing is left behind beside the files.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 3u);
}

TEST(ProfileWrite, UnicodeIsStoredAsWindows1252) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    ASSERT_TRUE(file.writeString("German", "btnApply", "\xC3\x9C" "bernehmen"));
    EXPECT_EQ(ReadFile(file.path()), "[German]\r\nbtnApply=\xDC" "bernehmen\r\n");
}

TEST(ProfileHostile, GarbageAndHugeLinesNeitherCrashNorDisturbOtherKeys) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) & 0xFF);
    const std::string huge(100000, 'x');
    WriteFile(file.path(), garbage + "\r\n[English]\r\nMsg1=one\r\nMsg9=" + huge + "\r\n" + garbage +
                               "\r\n[German]\r\nMsg1=eins\r\n");
    EXPECT_EQ(file.readString("English", "Msg1"), "one");
    EXPECT_EQ(file.readString("English", "Msg9").size(), huge.size());
    ASSERT_TRUE(file.writeString("German", "Msg2", "zwei"));
    EXPECT_EQ(file.readString("German", "Msg1"), "eins");
    EXPECT_EQ(file.readString("German", "Msg2"), "zwei");
    EXPECT_EQ(file.readString("English", "Msg9").size(), huge.size());
    // The garbage lines themselves are kept byte for byte.
    EXPECT_NE(ReadFile(file.path()).find(garbage.substr(0, 200)), std::string::npos);
}

// A lone CR ends a line for reading and for writing alike, so a file whose
// last line ends in CR (or that mixes line ends) takes a new section or key
// on a line of its own, and every write reads back.
TEST(ProfileLineEnds, ALoneCrEndsALineForReadingAndWriting) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    WriteFile(file.path(), "[A]\r\nx=1\r");
    ASSERT_TRUE(file.writeString("B", "k", "v"));
    EXPECT_EQ(file.readString("B", "k"), "v");
    EXPECT_EQ(file.readString("A", "x"), "1");
    EXPECT_EQ(ReadFile(file.path()), "[A]\r\nx=1\r[B]\r\nk=v\r\n") << "the lone CR is kept as the line end it is";

    // A language file cut after a CR: making German current keeps its texts.
    WriteFile(file.path(), "[Setting]\r\nLanguage=English\r\n[German]\r\nMsg1=Bitte\r");
    ASSERT_TRUE(file.writeString("Setting", "Language", "German"));
    ASSERT_TRUE(file.writeString("German", "Msg2", "zwei"));
    EXPECT_EQ(file.readString("Setting", "Language"), "German");
    EXPECT_EQ(file.readString("German", "Msg1"), "Bitte");
    EXPECT_EQ(file.readString("German", "Msg2"), "zwei");

    // Old Mac line ends throughout, and every mix of them.
    const auto p = ProfileData::Parse("[S]\rk1=a\r\rk2=b\n\r[T]\r\nk3=c\n");
    EXPECT_EQ(p.read("S", "k1"), "a");
    EXPECT_EQ(p.read("S", "k2"), "b");
    EXPECT_EQ(p.read("T", "k3"), "c");
    WriteFile(file.path(), "[S]\rk1=a\r\rk2=b\n\r[T]\r\nk3=c\n");
    ASSERT_TRUE(file.writeStrings("S", {{"k2", "B"}, {"k4", "d"}}));
    const auto q = file.load();
    EXPECT_EQ(q.read("S", "k1"), "a");
    EXPECT_EQ(q.read("S", "k2"), "B");
    EXPECT_EQ(q.read("S", "k4"), "d");
    EXPECT_EQ(q.read("T", "k3"), "c");
    EXPECT_EQ(q.find("T", "k4"), std::nullopt);
}

// A write that would not read back is refused and leaves the file as it was:
// a key the code page cannot hold would be stored as another key.
TEST(ProfileLineEnds, AWriteThatWouldNotReadBackIsRefused) {
    TempDir dir;
    ProfileFile file(dir / "a.ini");
    WriteFile(file.path(), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(file.writeString("S", "\xD0\xBA\xD0\xBB", "v"));  // Cyrillic: no Windows-1252 bytes
    EXPECT_FALSE(file.writeString("S", "bad\xFF", "v"));           // not UTF-8
    EXPECT_FALSE(file.writeString("\xD0\xBA", "k", "v"));          // nor a section of it
    EXPECT_EQ(ReadFile(file.path()), "[S]\r\nk=v\r\n");
    // A value keeps what the code page holds; the rest reads back as '?'.
    ASSERT_TRUE(file.writeString("S", "k", "\xD0\xBA-\xC3\xBC"));
    EXPECT_EQ(file.readString("S", "k"), "?-\xC3\xBC");
}
