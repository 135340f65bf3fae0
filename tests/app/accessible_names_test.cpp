#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

// What a screen reader says for a control follows the language chosen in
// Options > Language and the capcodes of the page in view.
TEST_F(WindowTest, SpokenNamesFollowTheLanguageAndTheCapcodePageInView) {
    useGermanLanguageFile();
    start();
    QLineEdit* priority = get<QLineEdit>("edtPri0");  // named by its column, described by its row
    QLineEdit* prompt = get<QLineEdit>("edtPrompt0");  // named by the label beside it
    QLineEdit* userMusic = get<QLineEdit>("edtMusicType0");  // a name of its own, from the catalogue
    EXPECT_EQ(priority->accessibleName(), QString::fromUtf8("Priorit\u00e4t"));
    EXPECT_EQ(priority->accessibleDescription(), QStringLiteral("Rufnr. #1"));
    EXPECT_EQ(prompt->accessibleName(), QStringLiteral("Einschaltlogo"));
    EXPECT_EQ(userMusic->accessibleName(), QStringLiteral("Eigene Melodie"));

    win().action("mnuEnglish")->trigger();
    EXPECT_EQ(priority->accessibleName(), QStringLiteral("Priority"));
    EXPECT_EQ(priority->accessibleDescription(), QStringLiteral("Cap #1"));
    EXPECT_EQ(prompt->accessibleName(), QStringLiteral("Power Up Logo"));
    EXPECT_EQ(userMusic->accessibleName(), QStringLiteral("User music"));

    choose(combo("cboCCPage"), 1);
    EXPECT_EQ(priority->accessibleDescription(), QStringLiteral("Cap #9"));
    EXPECT_EQ(get<QLineEdit>("edtCap0")->accessibleName(), QStringLiteral("Cap #9"));
}

}  // namespace
}  // namespace zrv::test
