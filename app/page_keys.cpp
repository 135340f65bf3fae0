#include "app/page_keys.h"

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/page_set.h"

namespace zrv::app {

PageKeys::PageKeys(QMainWindow& window, PageSet& pages, Hooks hooks)
    : QObject(&window), pages_(pages), hooks_(std::move(hooks)) {
    // Unnamed, as the Edit menu: the texts are set here, not by the
    // language file's captions of designed controls.
    menu_ = new QMenu(&window);
    QAction* pagerMenu = nullptr;
    if (auto* pager = window.findChild<QMenu*>(QStringLiteral("mnuPager"))) pagerMenu = pager->menuAction();
    window.menuBar()->insertMenu(pagerMenu, menu_);

    next_ = menu_->addAction(QString());
    next_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    previous_ = menu_->addAction(QString());
    // Shift+Tab arrives as Backtab from most keyboards.
    previous_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                             QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    connect(next_, &QAction::triggered, this, [this] { stepPage(1); });
    connect(previous_, &QAction::triggered, this, [this] { stepPage(-1); });
    menu_->addSeparator();

    group_ = new QActionGroup(menu_);
    for (int page = 0; page < pages_.pageCount(); ++page) {
        QAction* a = menu_->addAction(QString());
        a->setCheckable(true);
        a->setActionGroup(group_);
        a->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + page)));
        // A click on the checked item leaves it checked, as a selector click on the page in front.
        connect(a, &QAction::triggered, this, [this, page] { choosePage(page); });
        pageActions_.push_back(a);
    }
    connect(&pages_, &PageSet::frontPageChanged, this, &PageKeys::followPages);
    connect(menu_, &QMenu::aboutToShow, this, &PageKeys::followLanguage);
    followLanguage();
}

void PageKeys::choosePage(int page) {
    if (!pages_.showPage(page)) {
        followPages();  // the check stays with the page in front
        return;
    }
    if (QWidget* first = hooks_.firstControl ? hooks_.firstControl(pages_.panel(page)) : nullptr)
        first->setFocus(Qt::TabFocusReason);
}

void PageKeys::stepPage(int step) {
    const int count = pages_.pageCount();
    const int front = pages_.frontPage();
    if (count == 0 || front < 0) return;
    for (int k = 1; k < count; ++k) {
        const int page = ((front + step * k) % count + count) % count;
        if (pages_.offered(page)) {
            choosePage(page);
            return;
        }
    }
}

void PageKeys::followLanguage() {
    const auto text = [this](const char* key, const char* english) {
        return QString::fromStdString(hooks_.text ? hooks_.text(key, english) : std::string(english));
    };
    menu_->setTitle(text("MenuView", "&View"));
    next_->setText(text("MenuNextPage", "&Next Page"));
    previous_->setText(text("MenuPreviousPage", "&Previous Page"));
    for (int page = 0; page < pages_.pageCount(); ++page) pageActions_[page]->setText(pages_.pageName(page));
    pages_.namePanels();
    followPages();
}

void PageKeys::followPages() {
    const int front = pages_.frontPage();
    for (int page = 0; page < pages_.pageCount(); ++page) {
        pageActions_[page]->setEnabled(pages_.offered(page));
        pageActions_[page]->setChecked(page == front);
    }
}

}  // namespace zrv::app
