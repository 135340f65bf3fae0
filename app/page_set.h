#pragma once
/// \file
/// The six pages of the main window and their selectors: building them on
/// the client area, bringing a page to the front when its selector is
/// clicked (only that page is shown, so Tab walks its controls alone),
/// committing the edit when the mouse moves over bare page background,
/// rescaling the pages with the window, and naming the page in front to
/// assistive technology.

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

#include "ui/kit/proportional_rescaler.h"

class QFrame;
class QLabel;
class QWidget;

namespace zrv::app {

class PageSet : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> commitEditing;  ///< the edit being typed in stores its value
        std::function<void()> pageChanged;    ///< a selector brought another page to the front
        std::function<void()> rescaled;       ///< after the pages took a new size
    };
    /// Builds the pages on \p client at design size \p designSize; \p edit1
    /// is the focus sink that stays above every page.
    PageSet(QWidget* client, QWidget* edit1, QSize designSize, Hooks hooks);

    /// A page selector was clicked: \p selector is sedtFC .. staticEncryF.
    void pageSelectorClick(QLabel* selector);
    /// Brings the page holding \p control to the front, as a click on its
    /// selector does. False when no page holds it or its page is not offered
    /// (its selector hidden while another page is in front).
    bool showPageOf(const QWidget* control);
    /// The panel of the page in front.
    QFrame* currentPanel() const;

    // The pages by number, in selector order (0 = Freq. && Codes .. 5 = AES) --
    int pageCount() const { return static_cast<int>(panels_.size()); }
    /// The page in front; -1 when none is.
    int frontPage() const;
    /// True for the page in front and for a page whose selector a click
    /// would bring to the front now (shown and enabled).
    bool offered(int page) const;
    /// The page's name as its selector shows it ("&&" for one ampersand).
    QString pageName(int page) const;
    QFrame* panel(int page) const;
    /// Brings \p page to the front as a click on its selector does; false
    /// when it is not offered. Nothing happens when it is in front already.
    bool showPage(int page);
    /// Gives every page panel its page's name for assistive technology
    /// (after the language changed the selectors' captions).
    void namePanels();

    /// Write mode: every control is off but the selectors and their labels.
    void enableSelectors();
    /// The window's design size (client area), the base of the rescaling.
    QSize designSize() const { return rescaler_.designSize(); }
    /// Commits the edit when the mouse moves over the bare background of \p panel.
    void watchBackground(QWidget* panel);

signals:
    /// Another page came to the front (by a selector, a key or the View menu).
    void frontPageChanged(int page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rescale();

    QWidget* client_;
    QWidget* edit1_;
    Hooks hooks_;
    std::vector<QFrame*> panels_;
    std::vector<QLabel*> selectors_;
    std::vector<QLabel*> greyLabels_;
    kit::ProportionalRescaler rescaler_;
    bool rescaling_ = false;
};

}  // namespace zrv::app
