#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "tests/support/test_support.h"

using namespace zrv::i18n;
using zrv::Message;
using zrv::test::ReadFile;
using zrv::test::TempDir;
using zrv::test::WriteFile;

namespace {

Component Control(std::string name, std::string cls, std::string caption, std::string hint = {}) {
    Component c;
    c.name = std::move(name);
    c.designedClass = std::move(cls);
    c.caption = std::move(caption);
    c.hint = std::move(hint);
    return c;
}

Component Combo(std::string name, std::vector<std::string> items, int selected, std::string hint = {}) {
    Component c = Control(std::move(name), "TComboBox", "", std::move(hint));
    c.items = std::move(items);
    c.selectedIndex = selected;
    return c;
}

const Component& Named(const ComponentList& list, const std::string& name) {
    for (const auto& c : list)
        if (c.name == name) return c;
    throw std::runtime_error("no control " + name);
}

}  // namespace

TEST(Catalogue, WithoutLanguageFileEnglishIsUsedAndTheActionCreatesTheFile) {
    TempDir dir;
    MessageCatalogue cat(dir.path(), dir.path());
    const auto action = cat.StartUp();
    ASSERT_EQ(action, std::optional<std::string>("English"));
    EXPECT_EQ(cat.LookupMessage("Msg61", "The file size is error !"), "The file size is error !");
    ComponentList main{Control("lblCS", "TLabel", "Channel Spacing")};
    ASSERT_TRUE(RunLanguageAction(cat, *action, main, 16));
    EXPECT_TRUE(cat.englishChecked());
    EXPECT_FALSE(cat.germanChecked());
    EXPECT_EQ(main[0].caption, "Channel Spacing");
    EXPECT_EQ(ReadFile(dir / "Language.ini"), "[Setting]\r\nLanguage=English\r\n");
}

TEST(Catalogue, ALanguageFileThatIsNoRegularFileOrTooLargeIsNeitherReadNorWritten) {
    namespace fs = std::filesystem;
    const std::string german = "[Setting]\r\nLanguage=German\r\n[German]\r\nMsg62=Fehler\r\n";
    const struct {
        const char* name;
        std::function<void(const fs::path& folder, const fs::path& language)> make;
        const char* key;
    } cases[] = {
        {"a FIFO", [](const fs::path&, const fs::path& l) { ASSERT_EQ(mkfifo(l.c_str(), 0644), 0); },
         "MsgLanguageFileNotRegular"},
        {"a link to a FIFO",
         [](const fs::path& d, const fs::path& l) {
             ASSERT_EQ(mkfifo((d / "fifo").c_str(), 0644), 0);
             fs::create_symlink(d / "fifo", l);
         },
         "MsgLanguageFileNotRegular"},
        {"a folder", [](const fs::path&, const fs::path& l) { fs::create_directory(l); }, "MsgLanguageFileNotRegular"},
        {"a link to nothing", [](const fs::path& d, const fs::path& l) { fs::create_symlink(d / "gone", l); },
         "MsgLanguageFileNotRegular"},
        {"a file above 16 MB",
         [&german](const fs::path&, const fs::path& l) {
             WriteFile(l, german);
             fs::resize_file(l, kMaxProfileBytes + 1);
         },
         "MsgLanguageFileTooLarge"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path language = dir / "Language.ini";
        c.make(dir.path(), language);
        const auto before = fs::symlink_status(language).type();
        MessageCatalogue cat(dir.path(), dir.path());
        EXPECT_FALSE(cat.StartUp());  // no language action: nothing is written
        ASSERT_TRUE(cat.startUpProblem());
        EXPECT_EQ(cat.startUpProblem()->key, c.key);
        EXPECT_NE(cat.startUpProblem()->english.find(language.string()), std::string::npos);
        EXPECT_EQ(cat.currentLanguage(), "English");
        EXPECT_TRUE(cat.englishChecked());
        EXPECT_EQ(cat.LookupMessage("Msg62", "Open Error !"), "Open Error !");
        EXPECT_FALSE(cat.SelectLanguage("German"));  // a later write is refused too
        EXPECT_EQ(fs::symlink_status(language).type(), before);
        EXPECT_FALSE(fs::exists(dir / "gone"));
        if (fs::exists(dir / "fifo")) {
            EXPECT_EQ(fs::status(dir / "fifo").type(), fs::file_type::fifo);
        }
        if (before == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(language), kMaxProfileBytes + 1);
        }
    }
}

TEST(Catalogue, AnOtherLanguageChangesNoCaptionsButServesMessages) {
    TempDir dir;
    WriteFile(dir / "Language.ini",
              "[Setting]\r\nLanguage=French\r\n[French]\r\nMsg62=Erreur d'ouverture !\r\nMsg57=\r\n");
    MessageCatalogue cat(dir.path(), dir.path());
    EXPECT_FALSE(cat.StartUp());
    EXPECT_FALSE(cat.englishChecked());
    EXPECT_FALSE(cat.germanChecked());
    EXPECT_EQ(cat.currentLanguage(), "French");
    EXPECT_EQ(cat.LookupMessage("Msg62", "Open Error !"), "Erreur d'ouverture !");
    EXPECT_EQ(cat.LookupMessage("Msg57", "Save Error !"), "");  // empty is used as it is
    EXPECT_EQ(cat.LookupMessage("Msg61", "The file size is error !"), "The file size is error !");
}

TEST(Catalogue, GermanAtStartUpAndMarksFollowEachAction) {
    TempDir dir;
    WriteFile(dir / "Language.ini", "[Setting]\r\nLanguage=German\r\n[German]\r\nlblCS=Kanalraster\r\n");
    MessageCatalogue cat(dir.path(), dir.path());
    const auto action = cat.StartUp();
    ASSERT_EQ(action, std::optional<std::string>("German"));
    EXPECT_TRUE(cat.germanChecked());
    ComponentList main{Control("lblCS", "TLabel", "Channel Spacing")};
    ASSERT_TRUE(RunLanguageAction(cat, "English", main, 16));
    EXPECT_TRUE(cat.englishChecked());
    EXPECT_FALSE(cat.germanChecked());
    // [English] lacks lblCS: the German caption stays after German -> English.
    ASSERT_TRUE(RunLanguageAction(cat, "German", main, 16));
    EXPECT_EQ(main[0].caption, "Kanalraster");
    ASSERT_TRUE(RunLanguageAction(cat, "English", main, 16));
    EXPECT_EQ(main[0].caption, "Kanalraster");
    EXPECT_EQ(ProfileFile(dir / "Language.ini").readString("Setting", "Language"), "English");
}

TEST(Catalogue, MessageTextFormatsCatalogueTextsButNotTheEnglishFallback) {
    TempDir dir;
    WriteFile(dir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n[German]\r\n"
              "Msg45=Datei [%s] ist falsch %s %n\r\nMsg25=Capcode %d zu gross\r\n");
    MessageCatalogue cat(dir.path(), dir.path());
    cat.StartUp();
    EXPECT_EQ(MessageText(cat, Message{"Msg45", "The [a.tbl] ...", zrv::MsgIcon::Exclamation, {"a.tbl"}}),
              "Datei [a.tbl] ist falsch %s %n");
    EXPECT_EQ(MessageText(cat, Message{"Msg25", "Capcode 2 > 2097151 ...", zrv::MsgIcon::Exclamation, {"2"}}),
              "Capcode 2 zu gross");
    // The English text already holds its arguments; a file name with % stays intact.
    EXPECT_EQ(MessageText(cat, Message{"Msg70", "bad 100%d.tbl", zrv::MsgIcon::Exclamation, {"x"}}),
              "bad 100%d.tbl");
}

TEST(Captions, ExactClassesAndTheNullMarkerDecide) {
    const auto file = ProfileData::Parse(
        "[German]\r\nlblA=LA\r\nbtnA=BA\r\nRBtA=RA\r\nmnuA=MA\r\nmnuB=MB\r\nchkA=CA\r\n"
        "grpA=GA\r\nstaA=SA\r\nlblSub=X\r\nedtA=X\r\ncboA=X\r\ncboAItem0=eins\r\ncboBItem0=X\r\n");
    ComponentList w{
        Control("lblA", "TLabel", "la", "0x36,6,1,chk, NULL"),
        Control("btnA", "TButton", "ba", "NULL"),
        Control("RBtA", "TRadioButton", "ra", "NULL"),
        Control("mnuA", "TMenuItem", "ma"),
        Control("mnuB", "TMenuItem", "mb", "NULL"),
        Control("chkA", "TCheckBox", "ca"),
        Control("grpA", "TGroupBox", "ga", "null"),  // the marker is case-sensitive
        Control("staA", "TStaticText", "sa"),
        Control("lblSub", "TMyLabel", "sub"),
        Control("edtA", "TEdit", "ea"),
        Combo("cboA", {"one", "two"}, 1),
        Combo("cboB", {"keep"}, 0, "NULL"),
    };
    ApplyCaptions(w, file, "German", 16);
    std::vector<std::string> captions;
    for (const auto& c : w) captions.push_back(c.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"la", "BA", "RA", "MA", "mb", "CA", "GA", "SA", "sub",
                                                  "ea", "", ""}));
    EXPECT_EQ(Named(w, "cboA").items, (std::vector<std::string>{"eins", "two"}));
    EXPECT_EQ(Named(w, "cboA").selectedIndex, 1);
    EXPECT_EQ(Named(w, "cboB").items, (std::vector<std::string>{"keep"}));
}

TEST(Captions, CapcodePagesFollowTheCountAndKeepTheSelection) {
    const auto file = ProfileData::Parse("[German]\r\ncboSrcPageItem1=Seite %d bis %d\r\ncboCCPageItem0=%s%s%n\r\n");
    ComponentList w{Combo("cboCCPage", {"Capcode 1 - 8", "Capcode 9 - 16"}, 1),
                    Combo("cboSrcPage", {}, 5), Combo("cboMTPage", {}, 6), Combo("cboECPage", {}, 0)};
    ApplyCaptions(w, file, "German", 24);
    EXPECT_EQ(Named(w, "cboCCPage").items,
              (std::vector<std::string>{"18%n", "Capcode 9 - 16", "Capcode 17 - 24"}));
    EXPECT_EQ(Named(w, "cboCCPage").selectedIndex, 1);
    const auto& src = Named(w, "cboSrcPage");
    ASSERT_EQ(src.items.size(), 6u);
    EXPECT_EQ(src.items[0], "Capcode 1 - 4");
    EXPECT_EQ(src.items[1], "Seite 5 bis 8");
    EXPECT_EQ(src.items[5], "Capcode 21 - 24");
    EXPECT_EQ(src.selectedIndex, 5);
    // Six music pages for 24 capcodes: index 6 no longer exists.
    EXPECT_EQ(Named(w, "cboMTPage").selectedIndex, -1);
    EXPECT_EQ(Named(w, "cboECPage").items.size(), 3u);
    // A count beyond 48 is clamped.
    EXPECT_EQ(CapcodePageEntries(file, "German", "cboMTPage", 1000).size(), 12u);
}

TEST(Captions, ExportListsWindowsInOrderWithoutRadioButtons) {
    TempDir dir;
    ComponentList main{Control("lblA", "TLabel", "\xC3\x9C" "ber"), Control("lblN", "TLabel", "n", "NULL"),
                       Control("btnN", "TBitBtn", "bn", "NULL"), Control("RBtModify", "TRadioButton", "Modify"),
                       Control("mnuN", "TMenuItem", "mn", "NULL"), Combo("cboFreq", {"a", "b"}, 0),
                       Combo("cboN", {"x"}, 0, "NULL")};
    ComponentList funBit{Control("chkBit0", "TCheckBox", "Bit 0")};
    ASSERT_TRUE(ExportCaptions(dir / kCaptionExportName, {&main, &funBit}));
    EXPECT_EQ(ReadFile(dir / kCaptionExportName),
              "lblA\t\xDC" "ber\r\nbtnN\tbn\r\ncboFreqItem0\ta\r\ncboFreqItem1\tb\r\nchkBit0\tBit 0\r\n");
    EXPECT_FALSE(ExportCaptions(dir / "no" / kCaptionExportName, {&main}));
}

TEST(Catalogue, LocalisedNotifierPassesTheTranslatedTextOnAndKeepsTheAnswer) {
    TempDir dir;
    WriteFile(dir / "Language.ini",
              "[Setting]\r\nLanguage=German\r\n[German]\r\nMsg10=Wirklich?\r\nMsg45=[%s] falsch\r\n"
              "fm_About=\xDC" "ber\r\n");
    MessageCatalogue cat(dir.path(), dir.path());
    cat.StartUp();
    zrv::test::RecordingNotifier target;
    target.answers = {true};
    LocalisedNotifier notifier(cat, target);
    EXPECT_TRUE(notifier.ask(Message{"Msg10", "Are you sure ?", zrv::MsgIcon::Exclamation, {}}));
    notifier.show(Message{"Msg45", "The [x.tbl] ...", zrv::MsgIcon::Exclamation, {"x.tbl"}});
    notifier.show(Message{"Msg61", "The file size is error !", zrv::MsgIcon::Exclamation, {}});
    ASSERT_EQ(target.asked.size(), 1u);
    EXPECT_EQ(target.asked[0].english, "Wirklich?");
    ASSERT_EQ(target.shown.size(), 2u);
    EXPECT_EQ(target.shown[0].english, "[x.tbl] falsch");
    EXPECT_EQ(target.shown[0].key, "Msg45");
    EXPECT_EQ(target.shown[1].english, "The file size is error !");
    EXPECT_EQ(WindowCaptionText(cat, kAboutWindow), "\xC3\x9C" "ber");
    EXPECT_EQ(WindowCaptionText(cat, kPasswordDialog), "Advance Password");
}
