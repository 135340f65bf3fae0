// The main window under a user's keyboard and mouse wheel: the menu
// shortcuts beat the keys an edit claims, the wheel changes a setting only
// when it has the focus, and Tab stays on the page in front.
#include <QAction>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <map>
#include <set>

#include "core/image_layout.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {


class WindowInputTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        start();
        activate();
    }
    void activate() {
        win().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
    }
    /// Clicks the page selector of \p panel (nothing when it is in front).
    void bringToFront(int page) {
        auto* selector = get<QLabel>(kSelectors[page]);
        if (!selector->isHidden()) QTest::mouseClick(selector, Qt::LeftButton);
        ASSERT_EQ(win().pages().currentPanel()->objectName(), kPanels[page]);
    }
    /// Gives \p w the focus as a click would, and checks that it took it.
    void focus(QWidget* w) {
        w->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(w->hasFocus()) << w->objectName().toStdString();
    }
    /// Counts the triggers of every menu item.
    std::map<std::string, int> countTriggers() {
        std::map<std::string, int> none;
        for (const char* name : {"mnuOpen", "mnuSave", "mnuExit", "mnuRead", "mnuWrite", "mnuVerfy"}) {
            none[name] = 0;
            QObject::connect(win().action(name), &QAction::triggered, &win(),
                             [this, key = std::string(name)] { ++triggered[key]; });
        }
        return none;
    }
    std::map<std::string, int> triggered;
};

/// Turns the mouse wheel by \p notches (positive: towards the user) over the
/// middle of \p target. The event reaches the window as the platform sends
/// it: spontaneous, at a window position, so the toolkit finds the control
/// under the pointer and applies its focus-on-wheel rule. QTest delivers its
/// own key and mouse events the same way.
void TurnWheelOver(QWidget* target, int notches) {
    QWidget* top = target->window();
    const QPoint middle = target->rect().center();
    QWheelEvent wheel(QPointF(target->mapTo(top, middle)), QPointF(target->mapToGlobal(middle)),
                      QPoint(), QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(top->windowHandle(), &wheel);
    QApplication::processEvents();
}

/// Claims every key for the control it watches, as a line edit claims its
/// own key bindings: on a Linux desktop (X11 keyboard scheme) a line edit
/// takes Ctrl+E as "end of line". The tests' offscreen platform has the
/// Windows scheme, in which a line edit claims none of the menu's keys, so
/// the claim is made here, where the edit itself would make it.
class ClaimsEveryKey : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        event->accept();
        return true;
    }
};

TEST_F(WindowInputTest, MenuShortcutsWinOverTheKeysOfTheFocusedEdit) {
    countTriggers();
    auto* sink = get<QLineEdit>("Edit1");
    bringToFront(2);
    auto* prompt = win().registry().get<QLineEdit>("edtPrompt", 5);
    ASSERT_NE(prompt, nullptr);
    ClaimsEveryKey claim;
    sink->installEventFilter(&claim);
    prompt->installEventFilter(&claim);
    const struct {
        const char* action;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } shortcuts[] = {{"mnuOpen", Qt::Key_O, Qt::ControlModifier},
                     {"mnuSave", Qt::Key_S, Qt::ControlModifier},
                     {"mnuRead", Qt::Key_F3, Qt::NoModifier},
                     {"mnuWrite", Qt::Key_F4, Qt::NoModifier},
                     {"mnuVerfy", Qt::Key_F9, Qt::NoModifier}};
    int expected = 0;
    for (QLineEdit* edit : {sink, prompt}) {
        ++expected;
        for (const auto& s : shortcuts) {
            focus(edit);
            QTest::keyClick(edit, s.key, s.modifiers);
            EXPECT_EQ(triggered[s.action], expected) << s.action << " in " << edit->objectName().toStdString();
        }
    }
    EXPECT_EQ(openDialogs, 2);  // File > Open really ran (and was cancelled)

    // Ctrl+E, a line edit's "end of line", is File > Exit: the window closes.
    for (QLineEdit* edit : {sink, prompt}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        focus(edit);
        QTest::keyClick(edit, Qt::Key_E, Qt::ControlModifier);
        EXPECT_FALSE(win().isVisible());
        win().show();
        activate();
    }
    EXPECT_EQ(triggered["mnuExit"], 2);
}

TEST_F(WindowInputTest, TypingAndTheEditsOwnKeysStillReachTheEdit) {
    countTriggers();
    bringToFront(2);
    auto* prompt = win().registry().get<QLineEdit>("edtPrompt", 5);
    focus(prompt);
    QTest::keyClick(prompt, Qt::Key_A, Qt::ControlModifier);  // the stored prompt, replaced
    QTest::keyClicks(prompt, "HELLO");
    QTest::keyClick(prompt, Qt::Key_A, Qt::ControlModifier);  // select all
    EXPECT_EQ(prompt->selectedText(), "HELLO");
    QTest::keyClick(prompt, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(prompt, Qt::Key_End);
    QTest::keyClick(prompt, Qt::Key_V, Qt::ControlModifier);  // paste
    EXPECT_EQ(prompt->text(), "HELLOHELLO");
    for (const auto& [name, count] : triggered) EXPECT_EQ(count, 0) << name;
}

TEST_F(WindowInputTest, TheWheelChangesOnlyTheFocusedCombo) {
    QComboBox* baud = combo(ctl::baud.text);
    const ConfigImage before = image();
    const int index = baud->currentIndex();
    ASSERT_LT(index + 1, baud->count());  // there is an item to scroll to
    focus(get<QLineEdit>("Edit1"));

    TurnWheelOver(baud, 1);
    EXPECT_EQ(baud->currentIndex(), index);
    EXPECT_FALSE(baud->hasFocus());  // the wheel gives no focus either
    for (std::size_t offset = 0x1400; offset <= 0x1403; ++offset)
        EXPECT_EQ(image().byte(offset), before.byte(offset)) << offset;

    focus(baud);
    TurnWheelOver(baud, 1);
    EXPECT_EQ(baud->currentIndex(), index + 1);
    EXPECT_NE(image().byte(layout::kBaudCode), before.byte(layout::kBaudCode));  // its handler ran
}

TEST_F(WindowInputTest, TheWheelMovesTheContrastSliderOnlyWhenItHasTheFocus) {
    bringToFront(1);
    auto* contrast = get<QSlider>("TrackBar1");
    const int start = contrast->value();
    ASSERT_GT(start, contrast->minimum());
    focus(get<QLineEdit>("Edit1"));
    TurnWheelOver(contrast, 1);
    EXPECT_EQ(contrast->value(), start);
    focus(contrast);
    TurnWheelOver(contrast, 1);
    EXPECT_EQ(contrast->value(), start - 1);
}

TEST_F(WindowInputTest, TabReachesOnlyTheControlsOfThePageInFront) {
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(kPanels[page]);
        std::map<QWidget*, bool> hidden;
        for (const char* panel : kPanels)
            for (QWidget* w : get<QWidget>(panel)->findChildren<QWidget*>()) hidden[w] = w->isHidden();
        bringToFront(page);
        // The refresh rules' shown and hidden controls stay as they were.
        for (const auto& [w, wasHidden] : hidden)
            EXPECT_EQ(w->isHidden(), wasHidden) << w->objectName().toStdString();

        QWidget* front = win().pages().currentPanel();
        focus(get<QLineEdit>("Edit1"));
        std::set<QWidget*> reached;
        std::set<QWidget*> reachable;  // the page's shown, enabled Tab stops
        for (QWidget* w : front->findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) reachable.insert(w);
        for (int press = 0; press < 300; ++press) {
            QWidget* from = QApplication::focusWidget();
            ASSERT_NE(from, nullptr);
            QTest::keyClick(from, Qt::Key_Tab, press % 7 == 6 ? Qt::ShiftModifier : Qt::NoModifier);
            QWidget* now = QApplication::focusWidget();
            ASSERT_NE(now, nullptr);
            for (const char* panel : kPanels) {
                QWidget* p = get<QWidget>(panel);
                if (p != front) {
                    EXPECT_FALSE(p->isAncestorOf(now)) << now->objectName().toStdString();
                }
            }
            if (front->isAncestorOf(now)) reached.insert(now);
        }
        // Tab does walk the page in front: every stop of a small page, many of a large one.
        ASSERT_FALSE(reachable.empty());
        EXPECT_GE(reached.size(), std::min<std::size_t>(reachable.size(), 60));
    }
}

TEST_F(WindowInputTest, SwitchingPagesCommitsTheFieldOfThePageGoingBehind) {
    auto* freq = get<QLineEdit>("edtFreq");
    focus(freq);
    bringToFront(4);
    EXPECT_FALSE(freq->hasFocus());
    EXPECT_TRUE(get<QLineEdit>("Edit1")->hasFocus());
}

TEST_F(WindowInputTest, ResizingShowsOnlyThePageInFront) {
    for (int page : {4, 5}) {
        bringToFront(page);
        ResizeClientArea(win(), win().pages().designSize() * 3 / 4);
        for (int other = 0; other < 6; ++other)
            EXPECT_EQ(get<QWidget>(kPanels[other])->isVisible(), other == page) << kPanels[other];
        EXPECT_EQ(win().pages().currentPanel()->objectName(), kPanels[page]);
        ResizeClientArea(win(), win().pages().designSize());
    }
}

}  // namespace
}  // namespace zrv::test
