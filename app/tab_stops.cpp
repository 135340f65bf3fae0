#include "app/tab_stops.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

#include "ui/kit/tab_order.h"

namespace zrv::app {

namespace {

/// A box that only shows a value: the user reads it, Tab passes it by.
bool ReadOnlyBox(const QWidget* w) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->isReadOnly();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(w)) return memo->isReadOnly();
    return false;
}

}  // namespace

TabStops::TabStops(QWidget* client, QWidget* sink, std::function<QWidget*()> frontPage)
    : QObject(client), client_(client), sink_(sink), frontPage_(std::move(frontPage)) {
    // Out of the Tab order, still given the focus by a click or by the program.
    sink_->setFocusPolicy(Qt::ClickFocus);
    for (QWidget* w : client_->findChildren<QWidget*>())
        if (ReadOnlyBox(w) && kit::IsTabStop(w)) w->setFocusPolicy(Qt::ClickFocus);
    stops_ = kit::TabStopsInReadingOrder(client_);
    kit::ChainTabOrder(stops_);

    sink_->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == sink_ && old && std::find(stops_.begin(), stops_.end(), old) != stops_.end()) lastField_ = old;
    });
}

bool TabStops::reachable(const QWidget* w) const {
    return w && w->isVisible() && w->isEnabled() && kit::IsTabStop(w);
}

QWidget* TabStops::firstStopOf(const QWidget* page) const {
    for (QWidget* w : stops_)
        if (page && page->isAncestorOf(w) && reachable(w)) return w;
    return nullptr;
}

QWidget* TabStops::stopFromSink(bool forward) const {
    const auto n = static_cast<std::ptrdiff_t>(stops_.size());
    std::ptrdiff_t from = -1;
    if (lastField_ && reachable(lastField_)) from = std::find(stops_.begin(), stops_.end(), lastField_.data()) - stops_.begin();
    if (from < 0 || from >= n) {
        // No field to go on from: the page in front from its first (or last) control.
        const QWidget* page = frontPage_ ? frontPage_() : nullptr;
        for (std::ptrdiff_t k = 0; k < n; ++k) {
            QWidget* w = stops_[forward ? k : n - 1 - k];
            if (page && page->isAncestorOf(w) && reachable(w)) return w;
        }
        return nullptr;
    }
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        QWidget* w = stops_[((from + (forward ? step : -step)) % n + n) % n];
        if (reachable(w)) return w;
    }
    return nullptr;
}

bool TabStops::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sink_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        const bool back = key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            if (QWidget* next = stopFromSink(!back)) {
                next->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zrv::app
