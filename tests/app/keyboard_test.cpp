// The main window by keyboard alone: Tab walks the page in front as its
// controls stand on screen and passes the focus sink and the read-only
// boxes by; Ctrl+Tab, Ctrl+PgDn/PgUp, Alt+1..6 and the View menu change
// the page as its selector does.
#include <QAction>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include "app/page_keys.h"
#include "core/frequency.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {


class KeyboardTest : public WindowTest {
protected:
    void begin() {
        start();
        win().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
    }
    int frontPage() {
        const QString front = win().pages().currentPanel()->objectName();
        for (int page = 0; page < 6; ++page)
            if (front == kPanels[page]) return page;
        return -1;
    }
    /// A key pressed where the focus is, as the user presses it.
    /// Write mode takes the focus from every control: the key goes to the window then.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* at = QApplication::focusWidget();
        QTest::keyClick(at ? at : &win(), key, modifiers);
        QApplication::processEvents();
    }
};

/// \p w as a rectangle in the coordinates of \p parent (an ancestor).
QRect RectIn(const QWidget* w, const QWidget* parent) {
    return QRect(w->mapTo(parent, QPoint(0, 0)), w->size());
}

/// True when \p b stands after \p a as a reader meets them: on a lower row,
/// or on the same row to the right. Two controls share a row when their tops
/// are a few pixels apart or their middles are apart by at most half the
/// smaller one's height (a check box beside a combo box); a group box stands
/// on the row of its top.
bool ReadsAfter(const QRect& a, const QRect& b) {
    const int middleA = a.center().y();
    const int middleB = b.center().y();
    const bool oneRow = std::abs(a.top() - b.top()) <= 4 ||
                        std::abs(middleA - middleB) * 2 <= std::min(a.height(), b.height());
    if (oneRow) return b.left() > a.left();
    return middleB > middleA;
}

/// The children of the nearest common ancestor of \p a and \p b that hold
/// them, as rectangles in that ancestor: a page's group box is compared with
/// the group box beside it, a control with the control beside it.
std::pair<QRect, QRect> Blocks(const QWidget* a, const QWidget* b) {
    const QWidget* common = a->parentWidget();
    while (!common->isAncestorOf(b)) common = common->parentWidget();
    const auto blockOf = [common](const QWidget* w) {
        while (w->parentWidget() != common) w = w->parentWidget();
        return w;
    };
    return {RectIn(blockOf(a), common), RectIn(blockOf(b), common)};
}

TEST_F(KeyboardTest, TabWalksEachPageInScreenOrderAndComesRound) {
    begin();
    QWidget* sink = get<QWidget>("Edit1");
    QWidget* client = win().centralWidget();
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(kPanels[page]);
        if (auto* selector = get<QLabel>(kSelectors[page]); !selector->isHidden())
            QTest::mouseClick(selector, Qt::LeftButton);
        ASSERT_EQ(frontPage(), page);
        QWidget* panel = win().pages().currentPanel();
        std::set<QWidget*> expected;  // what Tab must reach: shown, enabled, editable controls of the page
        for (QWidget* w : panel->findChildren<QWidget*>()) {
            const auto* edit = qobject_cast<QLineEdit*>(w);
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
                !(edit && edit->isReadOnly()))
                expected.insert(w);
        }
        ASSERT_FALSE(expected.empty());

        // From the focus sink (where a click on a selector leaves it) Tab goes to the page's first control.
        sink->setFocus(Qt::OtherFocusReason);
        press(Qt::Key_Tab, Qt::NoModifier);
        QWidget* first = QApplication::focusWidget();
        ASSERT_TRUE(first && panel->isAncestorOf(first));
        std::vector<QWidget*> walk{first};
        for (int presses = 0; presses < 400; ++presses) {
            press(Qt::Key_Tab, Qt::NoModifier);
            QWidget* now = QApplication::focusWidget();
            ASSERT_NE(now, nullptr);
            if (now == first) break;
            walk.push_back(now);
        }
        ASSERT_EQ(QApplication::focusWidget(), first) << "Tab did not come round";

        std::set<QWidget*> reached;
        int wraps = 0;
        for (std::size_t i = 0; i < walk.size(); ++i) {
            QWidget* at = walk[i];
            const std::string name = at->objectName().toStdString();
            EXPECT_NE(at, sink);
            EXPECT_TRUE(at->isVisible() && at->isEnabled()) << name;
            if (const auto* edit = qobject_cast<QLineEdit*>(at)) EXPECT_FALSE(edit->isReadOnly()) << name;
            EXPECT_TRUE(client->isAncestorOf(at)) << name;
            if (panel->isAncestorOf(at)) reached.insert(at);
            QWidget* next = walk[(i + 1) % walk.size()];
            const auto [from, to] = Blocks(at, next);
            if (!ReadsAfter(from, to)) {
                ++wraps;  // once only: from the bottom of the window back to its top
                EXPECT_TRUE(ReadsAfter(to, from)) << name << " -> " << next->objectName().toStdString();
            }
        }
        EXPECT_EQ(wraps, 1);
        EXPECT_EQ(reached, expected);
    }
}

TEST_F(KeyboardTest, PageKeysAndTheViewMenuBringThePageToTheFront) {
    useGermanLanguageFile();
    begin();
    app::PageKeys& keys = win().pageKeys();
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m) { return [this, k, m] { press(k, m); }; };
    const auto alt = [&key](int digit) { return key(static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::AltModifier); };
    struct Step {
        const char* what;
        std::function<void()> act;
        int page;
    };
    const Step steps[] = {
        {"Ctrl+Tab", key(Qt::Key_Tab, Qt::ControlModifier), 1},
        {"Ctrl+PgDown", key(Qt::Key_PageDown, Qt::ControlModifier), 2},
        {"Ctrl+Shift+Backtab", key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), 1},
        {"Ctrl+PgUp", key(Qt::Key_PageUp, Qt::ControlModifier), 0},
        {"Ctrl+Shift+Tab round the first", key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier), 5},
        {"Ctrl+Tab round the last", key(Qt::Key_Tab, Qt::ControlModifier), 0},
        {"Alt+4", alt(4), 3}, {"Alt+6", alt(6), 5}, {"Alt+2", alt(2), 1},
        {"Alt+5", alt(5), 4}, {"Alt+3", alt(3), 2}, {"Alt+1", alt(1), 0},
        {"View > AES", [&keys] { keys.pageAction(5)->trigger(); }, 5},
        {"View > Next Page", [&keys] { keys.nextAction()->trigger(); }, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        ASSERT_EQ(frontPage(), step.page);
        QWidget* panel = win().pages().currentPanel();
        for (int page = 0; page < 6; ++page) EXPECT_EQ(keys.pageAction(page)->isChecked(), page == step.page);
        QString shown = get<QLabel>(kSelectors[step.page])->text();
        EXPECT_EQ(keys.pageAction(step.page)->text(), shown);
        EXPECT_EQ(panel->accessibleName(), shown.replace(QStringLiteral("&&"), QStringLiteral("&")));
        EXPECT_TRUE(panel->isAncestorOf(QApplication::focusWidget()));  // its first control
    }

    // The field being typed in stores its value before its page goes behind.
    QLineEdit* freq = get<QLineEdit>("edtFreq");
    ClickInto(win(), *freq);
    QTest::keyClicks(freq, "1530025");
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(frontPage(), 1);
    EXPECT_EQ(ChannelFrequency(image()), 1530025u);

    // Write mode: only the selectors are on, and the keys still change the page.
    QTest::mouseClick(get<QRadioButton>("RBtWrite"), Qt::LeftButton);
    ASSERT_TRUE(win().writeMode());
    press(Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(frontPage(), 1);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(frontPage(), 2);
    EXPECT_FALSE(get<QWidget>("edtPrompt0")->isEnabled());

    // The names follow the language.
    EXPECT_EQ(keys.menu()->title(), "&Ansicht");
    win().action("mnuEnglish")->trigger();
    EXPECT_EQ(keys.menu()->title(), "&View");
    EXPECT_EQ(keys.nextAction()->text(), "&Next Page");
    EXPECT_EQ(keys.pageAction(0)->text(), "Freq. && Codes");
    EXPECT_EQ(get<QWidget>("panCF")->accessibleName(), "Freq. & Codes");
}

}  // namespace
}  // namespace zrv::test
