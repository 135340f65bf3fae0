#pragma once
/// \file
/// The pages by keyboard: the View menu lists the six pages by the names
/// their selectors show (checked: the page in front) with Alt+1 .. Alt+6,
/// and Next Page (Ctrl+Tab, Ctrl+PgDown) and Previous Page (Ctrl+Shift+Tab,
/// Ctrl+PgUp), which go round the pages on offer. A page chosen here comes
/// to the front as a click on its selector brings it (the field being typed
/// in commits first; a page whose selector is not offered is passed over),
/// and the focus goes to its first control.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QWidget;

namespace zrv::app {

class PageSet;

class PageKeys : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        /// The current language's text for a key, the English text without one.
        std::function<std::string(const char* key, const std::string& english)> text;
        /// The first control of a page that Tab reaches now.
        std::function<QWidget*(const QWidget* page)> firstControl;
    };
    /// Puts the View menu into \p window's menu bar before the Pager menu.
    PageKeys(QMainWindow& window, PageSet& pages, Hooks hooks);

    /// Brings \p page to the front and its first control into focus.
    void choosePage(int page);
    /// Brings the next page on offer to the front when \p step is 1, the
    /// previous one when it is -1, going round from the last to the first.
    void stepPage(int step);
    /// The menu's texts in the current language; the page names as the
    /// selectors show them now.
    void followLanguage();

    QMenu* menu() const { return menu_; }
    QAction* pageAction(int page) const { return pageActions_.at(static_cast<std::size_t>(page)); }
    QAction* nextAction() const { return next_; }
    QAction* previousAction() const { return previous_; }

private:
    /// Checks the page in front; pages not on offer are greyed.
    void followPages();

    PageSet& pages_;
    Hooks hooks_;
    QMenu* menu_ = nullptr;
    QAction* next_ = nullptr;
    QAction* previous_ = nullptr;
    QActionGroup* group_ = nullptr;
    std::vector<QAction*> pageActions_;
};

}  // namespace zrv::app
