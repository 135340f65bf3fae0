#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <regex>

#include "core/cp1252.h"
#include "i18n/lang_file.h"
#include "i18n/safe_format.h"
#include "tests/support/test_support.h"

using namespace zrv::i18n;
using zrv::test::ReadFile;
using zrv::test::RecordingNotifier;
using zrv::test::TempDir;
using zrv::test::WriteFile;

namespace {

/// A language file with five keys in [Command].
const char* kFiveKeys =
    "[Setting]\r\nLanguage=German\r\n"
    "[English]\r\nMsg1=one\r\nMsg2=two\r\nMsg3=three\r\nMsg4=four\r\nMsg5=five\r\n"
    "[German]\r\nfrmLang=Texte\r\nMsg1=eins\r\nMsg2=zwei\r\nMsg3=drei\r\nMsg4=vier\r\nMsg5=fuenf\r\n"
    "[Command]\r\ncmd1=Msg1\r\ncmd2=Msg2\r\ncmd3=Msg3\r\ncmd4=Msg4\r\ncmd5=Msg5\r\ncmd7=Msg7\r\n";

struct Editor {
    TempDir dir;
    MessageCatalogue catalogue{dir.path(), dir.path()};
    TextEditorModel model{catalogue};
    int captionRuns = 0;
    explicit Editor(const std::string& file) {
        if (!file.empty()) WriteFile(dir / "Language.ini", file);
        catalogue.StartUp();
        model.applyMainWindowCaptions = [this] { ++captionRuns; };
        model.Fill(catalogue.currentLanguage());
    }
    std::string text(const std::string& key) const {
        return ProfileFile(dir / "Language.ini").readString(catalogue.currentLanguage(), key, "<missing>");
    }
};

/// The names of the files in \p folder, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(LangFile, EmptyTextsBecomeEightSpacesAndTrailingSpacesSurvive) {
    EXPECT_EQ(LangFileBytes({"transmit success  ", "", "\xC3\x9C" "ber"}),
              "transmit success  \t\r\n        \r\n\xDC" "ber\t\r\n");
    EXPECT_EQ(SplitLangLines("a\t\r\n\r\n\n        \rb\t"),
              (std::vector<std::string>{"a\t", "        ", "b\t"}));
}

TEST(TextEditor, FillListsTheKeysUpToTheFirstGapWithBothTexts) {
    Editor e(kFiveKeys);
    ASSERT_EQ(e.model.rows().size(), 5u);
    EXPECT_EQ(e.model.rows()[2].key, "Msg3");
    EXPECT_EQ(e.model.rows()[2].original, "three");
    EXPECT_EQ(e.model.rows()[2].current, "drei");
    EXPECT_EQ(e.model.captions().window, "Texte");
    EXPECT_EQ(e.model.captions().save, "Save As");
}

TEST(TextEditor, SaveAndLoadRoundTripEmptyRowAndSpaces) {
    Editor e(kFiveKeys);
    e.model.setCurrent(4, "");
    e.model.setCurrent(0, "transmit success  ");
    ASSERT_TRUE(e.model.SaveAs(e.dir / "de.lang"));
    const std::string saved = ReadFile(e.dir / "de.lang");
    EXPECT_EQ(saved, "transmit success  \t\r\nzwei\t\r\ndrei\t\r\nvier\t\r\n        \r\n");
    RecordingNotifier notifier;
    ASSERT_TRUE(e.model.Load(e.dir / "de.lang", notifier));
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(e.captionRuns, 1);
    // Stored at once: the line's TAB goes, the text's own trailing spaces stay.
    EXPECT_EQ(e.text("Msg1"), "transmit success  ");
    EXPECT_EQ(e.text("Msg5"), "");
    EXPECT_EQ(e.model.rows()[4].current, "");
}

TEST(TextEditor, ASavedLangFileLoadsBackLeavingLanguageIniByteForByte) {
    const std::string factory = ReadFile(zrv::test::BinDir() / kDefaultCatalogueName);
    ASSERT_FALSE(factory.empty());
    std::string german = factory;
    german.replace(german.find("Language=English"), 16, "Language=German");
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"factory catalogue, English", factory},
        {"factory catalogue, German", german},
        {"spacing, quotes, blanks, empty texts, LF line ends",
         "[Setting]\nLanguage=German\n[German]\nMsg1 = eins  \nMsg2=\" zwei  \"\nMsg3=drei\t\n"
         "Msg4=\"\"\nMsg5='f\xFCnf'\nMsg6=\"        \"\nMsg7=a\tb\n"
         "[Command]\ncmd1=Msg1\ncmd2=Msg2\ncmd3=Msg3\ncmd4=Msg4\ncmd5=Msg5\ncmd6=Msg6\ncmd7=Msg7\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e(c.file);
        const auto before = e.model.rows();
        ASSERT_FALSE(before.empty());
        ASSERT_TRUE(e.model.SaveAs(e.dir / "all.lang"));
        RecordingNotifier notifier;
        ASSERT_TRUE(e.model.Load(e.dir / "all.lang", notifier));
        EXPECT_TRUE(notifier.shown.empty());
        const std::string after = ReadFile(e.dir / "Language.ini");
        const auto diff = std::mismatch(after.begin(), after.end(), c.file.begin(), c.file.end());
        EXPECT_TRUE(after == c.file) << "first difference at byte " << (diff.first - after.begin()) << ": \""
                                     << after.substr(static_cast<std::size_t>(diff.first - after.begin()), 40) << "\"";
        ASSERT_EQ(e.model.rows().size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(e.model.rows()[i].current, before[i].current) << i;
    }
}

TEST(TextEditor, BlankLinesMoveTextsUpAndShortFilesStoreOnlyTheirRows) {
    Editor e(kFiveKeys);
    WriteFile(e.dir / "short.lang", "A\t\r\n\r\n\r\nB\t\r\n");
    RecordingNotifier notifier;
    ASSERT_TRUE(e.model.Load(e.dir / "short.lang", notifier));
    EXPECT_EQ(e.text("Msg1"), "A");
    EXPECT_EQ(e.text("Msg2"), "B");
    EXPECT_EQ(e.text("Msg3"), "drei");
    // The refill shows every key again.
    ASSERT_EQ(e.model.rows().size(), 5u);
    EXPECT_EQ(e.model.rows()[4].current, "fuenf");
}

TEST(TextEditor, LinesBeyondTheKeyListAreNotStoredUnderAnEmptyKey) {
    Editor e(kFiveKeys);
    WriteFile(e.dir / "long.lang", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
    RecordingNotifier notifier;
    ASSERT_TRUE(e.model.Load(e.dir / "long.lang", notifier));
    EXPECT_EQ(e.text("Msg5"), "5");
    EXPECT_EQ(e.text(""), "<missing>");
    EXPECT_EQ(ReadFile(e.dir / "Language.ini").find("\r\n=6"), std::string::npos);
    EXPECT_EQ(e.model.rows().size(), 5u);
}

TEST(TextEditor, ApplyWithoutEditsKeepsEveryTextOfTheFile) {
    Editor e("[Setting]\r\nLanguage=German\r\n[German]\r\nMsg54=\"  Programmierger\xE4t verbunden !\"\r\n"
             "Msg1='\"eins\"'\r\nstaMsg=\" Meldung :\"\r\n[Command]\r\ncmd1=Msg54\r\ncmd2=Msg1\r\ncmd3=staMsg\r\n");
    ASSERT_TRUE(e.model.Apply());
    EXPECT_EQ(e.text("Msg54"), "  Programmierger\xC3\xA4t verbunden !");
    EXPECT_EQ(e.text("Msg1"), "\"eins\"");
    EXPECT_EQ(e.text("staMsg"), " Meldung :");
    ASSERT_TRUE(e.model.Apply());
    EXPECT_EQ(e.model.rows()[0].current, "  Programmierger\xC3\xA4t verbunden !");
    EXPECT_EQ(e.model.rows()[1].current, "\"eins\"");
}

TEST(TextEditor, UnreadableLangFileShowsMsg62AndChangesNothing) {
    Editor e(kFiveKeys);
    const std::string before = ReadFile(e.dir / "Language.ini");
    RecordingNotifier notifier;
    EXPECT_FALSE(e.model.Load(e.dir / "missing.lang", notifier));
    EXPECT_EQ(notifier.keys(), std::vector<std::string>{"Msg62"});
    EXPECT_EQ(notifier.shown[0].english,
              "Open Error ! [" + (e.dir / "missing.lang").string() + "]: No such file or directory");
    EXPECT_EQ(notifier.shown[0].boxCaption(), "KIRV");
    EXPECT_EQ(ReadFile(e.dir / "Language.ini"), before);
    EXPECT_EQ(e.model.rows()[0].current, "eins");
    EXPECT_EQ(e.captionRuns, 0);
}

TEST(TextEditor, HostileLangFileIsStoredHarmlessly) {
    Editor e(kFiveKeys);
    std::string bytes = std::string(100000, 'y') + "\r\n[Setting]\r\nLanguage=Evil\r\n";
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i == '\r' || i == '\n' ? 'z' : i);
    WriteFile(e.dir / "evil.lang", bytes);
    RecordingNotifier notifier;
    ASSERT_TRUE(e.model.Load(e.dir / "evil.lang", notifier));
    EXPECT_EQ(e.text("Msg1").size(), 100000u);
    EXPECT_EQ(e.text("Msg2"), "[Setting]");
    EXPECT_EQ(ProfileFile(e.dir / "Language.ini").readString("Setting", "Language"), "German");
    EXPECT_EQ(e.text("Msg5"), "fuenf");
}

TEST(TextEditor, WithoutLanguageFileApplyOnlyWritesTheSetting) {
    Editor e("");
    EXPECT_TRUE(e.model.rows().empty());
    ASSERT_TRUE(e.model.Apply());
    EXPECT_EQ(ReadFile(e.dir / "Language.ini"), "[Setting]\r\nLanguage=English\r\n");
}

TEST(TextEditor, LoadDefaultTwiceKeepsTheOldestBackup) {
    Editor e(kFiveKeys);
    const std::string original = ReadFile(e.dir / "Language.ini");
    WriteFile(e.dir / "DefLang.dat", "[Setting]\r\nLanguage=English\r\n[English]\r\nMsg1=factory\r\n");
    RecordingNotifier notifier;
    ASSERT_EQ(e.model.LoadDefault(notifier), TextEditorModel::LoadDefaultResult::Restored);
    EXPECT_EQ(ReadFile(e.dir / "Language.bak"), original);
    EXPECT_EQ(e.catalogue.currentLanguage(), "English");
    EXPECT_TRUE(e.catalogue.englishChecked());
    EXPECT_EQ(e.catalogue.LookupMessage("Msg1", "x"), "factory");
    ProfileFile(e.dir / "Language.ini").writeString("English", "Msg1", "edited");
    ASSERT_EQ(e.model.LoadDefault(notifier), TextEditorModel::LoadDefaultResult::Restored);
    EXPECT_EQ(ReadFile(e.dir / "Language.bak"), original);
    EXPECT_EQ(e.catalogue.LookupMessage("Msg1", "x"), "factory");
    EXPECT_EQ(e.captionRuns, 2);
    EXPECT_TRUE(notifier.shown.empty());
}

TEST(TextEditor, LoadDefaultWithoutFactoryFileFallsBackToEnglish) {
    Editor e(kFiveKeys);
    RecordingNotifier notifier;
    EXPECT_EQ(e.model.LoadDefault(notifier), TextEditorModel::LoadDefaultResult::NoFactory);
    EXPECT_FALSE(std::filesystem::exists(e.dir / "Language.ini"));
    EXPECT_TRUE(std::filesystem::exists(e.dir / "Language.bak"));
    EXPECT_EQ(e.catalogue.currentLanguage(), "English");
    EXPECT_EQ(e.catalogue.LookupMessage("Msg1", "one!"), "one!");
}

TEST(TextEditor, LoadDefaultThatCannotWriteSaysSoAndPutsTheUsersFileBack) {
    // A disk that takes no more than 1 KiB more: the factory texts do not fit.
    std::string factory = "[Setting]\r\nLanguage=English\r\n[English]\r\n";
    for (int i = 0; i < 400; ++i) factory += "Msg" + std::to_string(i) + "=factory text\r\n";
    for (const bool backupThere : {false, true}) {
        SCOPED_TRACE(backupThere ? "an older backup is there" : "no backup yet");
        Editor e(kFiveKeys);
        WriteFile(e.dir / "DefLang.dat", factory);
        if (backupThere) WriteFile(e.dir / "Language.bak", "older");
        const auto filesBefore = FileNames(e.dir.path());
        const std::string original = ReadFile(e.dir / "Language.ini");
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            const rlimit limit{1024, 1024};
            std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG
            RecordingNotifier notifier;
            const bool reported = setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                                  e.model.LoadDefault(notifier) == TextEditorModel::LoadDefaultResult::WriteFailed &&
                                  notifier.keys() == std::vector<std::string>{"MsgLoadDefaultFailed"} &&
                                  e.captionRuns == 0;
            _exit(reported ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failure was not reported";
        EXPECT_EQ(ReadFile(e.dir / "Language.ini"), original);
        EXPECT_EQ(FileNames(e.dir.path()), filesBefore);  // no backup made, no file left over
        if (backupThere) {
            EXPECT_EQ(ReadFile(e.dir / "Language.bak"), "older");
        }
    }
}

// The factory catalogue as built next to the programs.
TEST(FactoryCatalogue, EveryListedKeyHasEnglishAndGermanWithTheSamePlaceholders) {
    const ProfileFile factory(zrv::test::BinDir() / kDefaultCatalogueName);
    ASSERT_TRUE(factory.exists());
    const ProfileData data = factory.load();
    EXPECT_EQ(data.read(kSettingSection, kLanguageKey), "English");
    const auto keys = ReadKeyList(data);
    EXPECT_EQ(keys.size(), data.entries("English").size());
    const std::regex placeholder("%[-0-9.]*[sdf]");
    auto placeholders = [&](const std::string& s) {
        std::string out;
        for (auto it = std::sregex_iterator(s.begin(), s.end(), placeholder); it != std::sregex_iterator(); ++it)
            out += it->str().back();
        return out;
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key);
        const auto en = data.find("English", key);
        const auto de = data.find("German", key);
        ASSERT_TRUE(en && de);
        EXPECT_FALSE(en->empty());
        EXPECT_FALSE(de->empty());
        EXPECT_EQ(placeholders(*en), placeholders(*de));
    }
    // Leading blanks of the status texts survive the profile's trimming.
    EXPECT_EQ(data.read("English", "Msg54"), "  The Programmed Board Connect !");
    EXPECT_EQ(data.read("English", "Msg77"), "Please input A~G\xC2\xA1" "Ba~g \xC2\xA1" "B0 or 1 !");
    // The key list names exactly the keys of [English], each once.
    std::vector<std::string> english;
    for (const auto& [key, text] : data.entries("English")) english.push_back(key);
    auto sortedKeys = keys;
    std::sort(sortedKeys.begin(), sortedKeys.end());
    std::sort(english.begin(), english.end());
    EXPECT_EQ(sortedKeys, english);
}

TEST(FactoryCatalogue, DesignedCaptionsWithOuterBlanksKeepThem) {
    const auto bytes = ReadFile(zrv::test::BinDir() / kDefaultCatalogueName);
    // A value the reading rule would trim must be quoted in the file.
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto end = bytes.find("\r\n", pos);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(pos, end - pos);
        pos = end + 2;
        const auto eq = line.find('=');
        if (line.empty() || line[0] == ';' || line[0] == '[' || eq == std::string::npos) continue;
        const std::string value = line.substr(eq + 1);
        if (value.empty()) continue;
        const bool blank = value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t';
        EXPECT_FALSE(blank) << line;
    }
    const ProfileData data = ProfileData::Parse(bytes);
    EXPECT_EQ(data.read("English", "staMsg"), " Message :");
    EXPECT_EQ(data.read("English", "cboRDCItem1"), " 5 Seconds");
    EXPECT_EQ(data.read("English", "chkBeepAndVibration"), "Beep And Vibration ");
    EXPECT_EQ(data.read("German", "cboRDCItem3"), " 2 Minuten");
}

TEST(FactoryCatalogue, EveryCapcodePageEntryOfTheLargestCountIsListed) {
    const ProfileData data = ProfileFile(zrv::test::BinDir() / kDefaultCatalogueName).load();
    const auto keys = ReadKeyList(data);
    const std::pair<const char*, int> selectors[] = {
        {"cboCCPage", 6}, {"cboECPage", 6}, {"cboSrcPage", 12}, {"cboMTPage", 12}};
    for (const auto& [name, entries] : selectors)
        for (int j = 0; j < entries; ++j) {
            const std::string key = std::string(name) + "Item" + std::to_string(j);
            SCOPED_TRACE(key);
            EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end());
            EXPECT_EQ(data.read("English", key), "Capcode %d - %d");
            EXPECT_EQ(SafeFormat(data.read("German", key, "?"), {1, 8}).find_first_of("%?"), std::string::npos);
        }
}

TEST(TextEditor, ALargeKeyListIsFilledAndStoredCompletely) {
    std::string file = "[Setting]\r\nLanguage=German\r\n[Command]\r\n";
    const int n = 20000;
    for (int i = 1; i <= n; ++i) file += "cmd" + std::to_string(i) + "=K" + std::to_string(i) + "\r\n";
    Editor e(file);
    ASSERT_EQ(e.model.rows().size(), static_cast<std::size_t>(n));
    e.model.setCurrent(n - 1, "last");
    e.model.setCurrent(0, "first");
    ASSERT_TRUE(e.model.Apply());
    EXPECT_EQ(e.text("K1"), "first");
    EXPECT_EQ(e.text("K" + std::to_string(n)), "last");
    EXPECT_EQ(e.text("K2"), "");
    EXPECT_EQ(e.model.rows()[n - 1].current, "last");
}

TEST(TextEditor, KeyListEntriesThatAreNoKeyNamesAreNotWritten) {
    Editor e("[Setting]\r\nLanguage=German\r\n[German]\r\nMsg1=eins\r\n"
             "[Command]\r\ncmd1=Msg1\r\ncmd2=a=b\r\ncmd3=[Setting]\r\ncmd4=;x\r\n");
    ASSERT_EQ(e.model.rows().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) e.model.setCurrent(i, "v" + std::to_string(i));
    ASSERT_TRUE(e.model.Apply());
    EXPECT_EQ(e.text("Msg1"), "v0");
    const auto file = ProfileFile(e.dir / "Language.ini").load();
    EXPECT_EQ(file.entries("German").size(), 1u);
    EXPECT_EQ(file.sections(), (std::vector<std::string>{"Setting", "German", "Command"}));
}
