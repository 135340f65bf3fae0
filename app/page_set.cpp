#include "app/page_set.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

#include "app/pages/pages.h"
#include "core/accessible_name.h"
#include "app/window_components.h"

namespace zrv::app {

namespace {

constexpr QPoint kPageOrigin{4, 36};

/// Page selectors, their grey labels and their panels, in selector order.
struct PageSelector {
    const char* selector;
    const char* grey;
    pages::PageId page;
};
constexpr PageSelector kSelectors[] = {
    {"sedtFC", "StaticText6", pages::PageId::CF},
    {"sedtAS", "StaticText7", pages::PageId::AS},
    {"sedtPE", "StaticText8", pages::PageId::PE},
    {"sedtSP", "StaticText9", pages::PageId::Source},
    {"sedtMT", "StaticText10", pages::PageId::Music},
    {"staticEncryF", "staticEncryB", pages::PageId::AES},
};

/// The pages hidden while the rescaling moves their controls.
constexpr const char* kRescaledPanels[] = {"panCF", "panAS", "pnlSource", "panPE", "pnlMusic"};

}  // namespace

PageSet::PageSet(QWidget* client, QWidget* edit1, QSize designSize, Hooks hooks)
    : QObject(client), client_(client), edit1_(edit1), hooks_(std::move(hooks)) {
    for (const pages::PageId id : pages::kCreationOrder) {
        QFrame* page = pages::CreatePage(id, client);
        page->move(kPageOrigin);
        page->resize(pages::kPageWidth, pages::kPageHeight);
        page->setAutoFillBackground(true);  // a page in front hides those behind
        page->setMouseTracking(true);
    }
    for (const auto& s : kSelectors) {
        auto* panel = client->findChild<QFrame*>(pages::PanelName(s.page), Qt::FindDirectChildrenOnly);
        auto* selector = client->findChild<QLabel*>(s.selector);
        auto* grey = client->findChild<QLabel*>(s.grey);
        panels_.push_back(panel);
        selectors_.push_back(selector);
        greyLabels_.push_back(grey);
        // A buddy makes the labels show "&&" as one ampersand, as designed.
        if (panel && selector) selector->setBuddy(panel);
        if (panel && grey) grey->setBuddy(panel);
        if (selector) selector->installEventFilter(this);
    }
    RecordCreationOrder(client);  // before the first page is brought to the front
    // panCF in front at design time; the pages behind it are hidden, so that
    // neither Tab nor a click reaches their controls.
    for (QFrame* panel : panels_)
        if (panel && panel != panels_.front()) panel->hide();
    if (panels_.front()) panels_.front()->raise();
    edit1_->raise();
    namePanels();
    client->setMouseTracking(true);
    watchBackground(client);
    rescaler_.remember(client, designSize);
}

void PageSet::watchBackground(QWidget* panel) {
    if (panel) panel->installEventFilter(this);
}

bool PageSet::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (auto* label = qobject_cast<QLabel*>(watched);
                label && std::find(selectors_.begin(), selectors_.end(), label) != selectors_.end()) {
                if (label->isEnabled()) pageSelectorClick(label);
                return true;
            }
            break;
        case QEvent::MouseMove:
            // Over the window background or the background of a page (not
            // over a control on it): commit the edit.
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == client_->window()) {
                const auto* move = static_cast<QMouseEvent*>(event);
                if (!w->childAt(move->position().toPoint()) && hooks_.commitEditing) hooks_.commitEditing();
            }
            break;
        case QEvent::Resize:
            if (watched == client_) rescale();
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

void PageSet::pageSelectorClick(QLabel* selector) {
    if (hooks_.pageChanged) hooks_.pageChanged();
    // The field being typed in commits before its page goes behind.
    if (QWidget* focus = QApplication::focusWidget())
        for (std::size_t i = 0; i < selectors_.size(); ++i)
            if (selectors_[i] != selector && panels_[i] && panels_[i]->isAncestorOf(focus) && hooks_.commitEditing)
                hooks_.commitEditing();
    for (std::size_t i = 0; i < selectors_.size(); ++i) {
        if (!selectors_[i]) continue;
        const bool front = selectors_[i] == selector;
        selectors_[i]->setVisible(!front);
        if (!panels_[i]) continue;
        panels_[i]->setVisible(front);
        if (front) panels_[i]->raise();
    }
    edit1_->raise();
    const int page = frontPage();
    if (page < 0) return;
    // The page's name is said again as it comes to the front.
    namePanels();
    QAccessibleEvent named(panels_[page], QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    emit frontPageChanged(page);
}

bool PageSet::showPageOf(const QWidget* control) {
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        if (!panels_[i] || !selectors_[i] || !panels_[i]->isAncestorOf(control)) continue;
        if (!panels_[i]->isHidden()) return true;
        if (selectors_[i]->isHidden()) return false;
        pageSelectorClick(selectors_[i]);
        return true;
    }
    return false;
}

QFrame* PageSet::currentPanel() const {
    // The panel in front is the last of the six among the client's children.
    QFrame* front = nullptr;
    for (QObject* child : client_->children())
        if (auto* f = qobject_cast<QFrame*>(child);
            f && std::find(panels_.begin(), panels_.end(), f) != panels_.end())
            front = f;
    return front;
}

int PageSet::frontPage() const {
    const auto at = std::find(panels_.begin(), panels_.end(), currentPanel());
    return at == panels_.end() || !*at ? -1 : static_cast<int>(at - panels_.begin());
}

bool PageSet::offered(int page) const {
    if (page < 0 || page >= pageCount() || !panels_[page] || !selectors_[page]) return false;
    if (page == frontPage()) return true;
    return !selectors_[page]->isHidden() && selectors_[page]->isEnabled();
}

QString PageSet::pageName(int page) const {
    return page >= 0 && page < pageCount() && selectors_[page] ? selectors_[page]->text() : QString();
}

QFrame* PageSet::panel(int page) const { return page >= 0 && page < pageCount() ? panels_[page] : nullptr; }

bool PageSet::showPage(int page) {
    if (!offered(page)) return false;
    if (page != frontPage()) pageSelectorClick(selectors_[page]);
    return true;
}

void PageSet::namePanels() {
    for (int i = 0; i < pageCount(); ++i)
        if (panels_[i]) panels_[i]->setAccessibleName(
            QString::fromStdString(AccessibleNameFromCaption(pageName(i).toStdString())));
}

void PageSet::enableSelectors() {
    for (QLabel* l : selectors_)
        if (l) l->setEnabled(true);
    for (QLabel* l : greyLabels_)
        if (l) l->setEnabled(true);
}

void PageSet::rescale() {
    if (!rescaler_.remembered() || rescaling_) return;
    rescaling_ = true;
    std::vector<QWidget*> hidden;
    for (const char* name : kRescaledPanels) {
        if (auto* panel = client_->findChild<QWidget*>(name); panel && !panel->isHidden()) {
            panel->hide();
            hidden.push_back(panel);
        }
    }
    rescaler_.apply(client_->size());
    for (QWidget* panel : hidden) panel->show();
    rescaling_ = false;
    if (hooks_.rescaled) hooks_.rescaled();
}

}  // namespace zrv::app
