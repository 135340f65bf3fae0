#include <gtest/gtest.h>

#include <filesystem>

#include "core/default_image.h"
#include "core/document.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {
namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

/// Every change the listeners heard of, by origin and runs.
struct Heard {
    std::vector<DocumentChange> changes;
    std::vector<ConfigImage> before;
    void listen(Document& d) {
        d.listen([this](const DocumentChange& c) {
            changes.push_back(c);
            before.push_back(*c.before);
        });
    }
};

TEST(Document, TellsWhichBytesChangedAndWhetherItDiffersFromTheCleanState) {
    Document doc(StartupImage());
    Heard heard;
    heard.listen(doc);
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.noteChanges());  // nothing changed: nobody is told

    const std::uint8_t old = doc.image().byte(0x1001);
    doc.image().setByte(0x1001, old ^ 0xFF);
    doc.image().setByte(0x1002, doc.image().byte(0x1002) ^ 0x01);
    doc.image().setByte(0x2000, doc.image().byte(0x2000) ^ 0x01);
    EXPECT_TRUE(doc.noteChanges());
    ASSERT_EQ(heard.changes.size(), 1u);
    EXPECT_EQ(heard.changes[0].origin, ChangeOrigin::Edit);
    EXPECT_EQ(heard.changes[0].runs, (std::vector<ByteRun>{{0x1001, 2}, {0x2000, 1}}));
    EXPECT_EQ(heard.before[0].byte(0x1001), old);
    EXPECT_TRUE(doc.modified());

    // Storing the old values back leaves it unchanged again, though a change
    // was told.
    doc.image() = heard.before[0];
    EXPECT_TRUE(doc.noteChanges());
    EXPECT_FALSE(doc.modified());

    // A transfer's conversion and its return, under a hold, are no change;
    // what remains when the last hold ends is one change of the outer origin.
    {
        const Document::Hold outer(doc, ChangeOrigin::Read);
        {
            const Document::Hold inner(doc, ChangeOrigin::Edit);
            doc.image().setByte(0x100, doc.image().byte(0x100) ^ 0xFF);
            EXPECT_FALSE(doc.noteChanges());
        }
        doc.image().setByte(0x100, heard.before[0].byte(0x100));
        doc.image().setByte(0x101, doc.image().byte(0x101) ^ 0xFF);
    }
    ASSERT_EQ(heard.changes.size(), 3u);
    EXPECT_EQ(heard.changes[2].origin, ChangeOrigin::Read);
    EXPECT_EQ(heard.changes[2].runs, (std::vector<ByteRun>{{0x101, 1}}));

    // Settling makes the image as it is the clean state, and says so even
    // when no byte changed.
    doc.settle(ChangeOrigin::Open);
    EXPECT_FALSE(doc.modified());
    ASSERT_EQ(heard.changes.size(), 4u);
    EXPECT_TRUE(heard.changes[3].runs.empty());
}

TEST(Document, OpenAndSaveChangeNothingWhenRefused) {
    TempDir dir;
    Document doc(StartupImage(), dir.path() / "default.tbl");
    doc.image().setByte(0x1000, 0x12);
    doc.noteChanges();
    const ConfigImage edited = doc.image();

    // A refused open keeps the image, the count, the name and the changes.
    WriteFile(dir.path() / "short.tbl", std::string(100, 'x'));
    doc.setCapcodeCount(24);
    EXPECT_FALSE(doc.open(dir.path() / "short.tbl").ok);
    EXPECT_EQ(doc.image(), edited);
    EXPECT_EQ(doc.capcodeCount(), 24);
    EXPECT_EQ(doc.fileName(), dir.path() / "default.tbl");
    EXPECT_TRUE(doc.modified());

    // A refused save (a folder where the file should be) keeps them too.
    fs::create_directory(dir.path() / "folder.tbl");
    EXPECT_TRUE(doc.saveAs(dir.path() / "folder.tbl").has_value());
    EXPECT_EQ(doc.fileName(), dir.path() / "default.tbl");
    EXPECT_TRUE(doc.modified());

    // Save As names the file, stamps the image and leaves it unchanged;
    // opening that file gives the same image, 16 capcodes and its name.
    ASSERT_FALSE(doc.saveAs(dir.path() / "ward3.tbl").has_value());
    EXPECT_EQ(doc.fileName(), dir.path() / "ward3.tbl");
    EXPECT_FALSE(doc.modified());
    const ConfigImage saved = doc.image();
    Document other(StartupImage());
    ASSERT_TRUE(other.open(dir.path() / "ward3.tbl").ok);
    EXPECT_EQ(other.image().byte(0x1000), 0x12);
    EXPECT_EQ(other.capcodeCount(), 16);
    EXPECT_EQ(other.fileName(), dir.path() / "ward3.tbl");
    EXPECT_FALSE(other.modified());
    EXPECT_EQ(saved.byte(0x1000), 0x12);
}

TEST(Document, RecentFilesKeepsTheLatestEightEachOnce) {
    RecentFiles recent;
    recent.assign({"/a.tbl", "/b.tbl", "/a.tbl", "", "/c.tbl"});
    EXPECT_EQ(recent.entries(), (std::vector<std::string>{"/a.tbl", "/b.tbl", "/c.tbl"}));
    recent.remember("/c.tbl");
    EXPECT_EQ(recent.entries(), (std::vector<std::string>{"/c.tbl", "/a.tbl", "/b.tbl"}));
    for (int k = 0; k < 10; ++k) recent.remember("/n" + std::to_string(k) + ".tbl");
    ASSERT_EQ(recent.entries().size(), RecentFiles::kLimit);
    EXPECT_EQ(recent.entries().front(), "/n9.tbl");
    recent.forget("/n9.tbl");
    EXPECT_EQ(recent.entries().front(), "/n8.tbl");
    // A relative name is remembered as the absolute path it names.
    recent.remember("x/../rel.tbl");
    EXPECT_EQ(recent.entries().front(), (fs::current_path() / "rel.tbl").string());
}

}  // namespace
}  // namespace zrv
