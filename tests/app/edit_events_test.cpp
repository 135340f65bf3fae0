// Enter and exit handlers of edits: they follow the focus moving between
// the controls of one window, not the window losing or regaining activation.
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include "editors/edit_events.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

TEST(EditEvents, HandlersFollowTheFocusInsideTheWindowOnly) {
    TestApp();
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* first = new QLineEdit(&form);
    auto* second = new QLineEdit(&form);
    layout->addWidget(first);
    layout->addWidget(second);
    int exits = 0, enters = 0;
    OnExit(first, [&] { ++exits; });
    OnEnter(first, [&] { ++enters; });
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    second->setFocus();
    QApplication::processEvents();
    enters = exits = 0;
    first->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(first->hasFocus());
    EXPECT_EQ(enters, 1);

    // Another window (a message box, another program) takes the activation
    // and gives it back: the field was not left.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(form.focusWidget(), first);

    // Opening a menu over the field does not leave it either.
    QMenu menu(&form);
    menu.addAction(QStringLiteral("Save"));
    menu.popup(form.mapToGlobal(QPoint(5, 5)));
    QApplication::processEvents();
    ASSERT_TRUE(menu.isVisible());
    menu.close();
    QApplication::processEvents();
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(enters, 1);

    second->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(exits, 1);
    first->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(enters, 2);
}

}  // namespace
}  // namespace zrv::test
