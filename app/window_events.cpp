// The main window's events and page switching: the page selectors, the
// commit of an edit when the mouse moves over bare background, the key
// preview that collects a scanned serial number, and the page in front.
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>

#include "app/main_window.h"
#include "core/cp1252.h"
#include "core/image_rules.h"
#include "link/board_session.h"
#include "ui_main_window.h"

namespace zrv::app {

// Events: page selectors, mouse-move commit, key preview, resize ----------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (auto* label = qobject_cast<QLabel*>(watched);
                label && std::find(selectors_.begin(), selectors_.end(), label) != selectors_.end()) {
                if (label->isEnabled()) pageSelectorClick(label);
                return true;
            }
            break;
        case QEvent::MouseMove:
            // Over the window background or the background of panCF, panAS
            // or pnlMusic (not over a control on them): commit the edit.
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == this) {
                const auto* move = static_cast<QMouseEvent*>(event);
                if (!w->childAt(move->position().toPoint())) commitEditing();
            }
            break;
        case QEvent::Resize:
            if (watched == centralWidget()) FormResize();
            break;
        case QEvent::KeyPress:
            if (watched == keyPreviewTarget_ && QApplication::activeModalWidget() == nullptr)
                return FormKeyPress(static_cast<QKeyEvent*>(event));
            break;
        default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::FormKeyPress(QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
        scanner_.append(key->text());
        return false;  // the key still goes to the focused control
    }
    const auto serial = scanner_.enter();
    if (!serial) return false;  // Enter goes on; the buffer is kept
    if (auto* sn = find<QLineEdit>(QStringLiteral("txtSN"))) sn->setText(*serial);
    StorePagerSerialNumber(image_, Utf8ToCp1252(serial->toStdString()));
    board_->setKeepPagerSerial(false);
    ui_->mnuWrite->trigger();  // the Pager menu's Write command
    scanner_.clear();
    board_->setKeepPagerSerial(true);
    return true;  // the Enter is consumed
}

void MainWindow::Timer2Timer() { scanner_.clear(); }

void MainWindow::commitEditing() { ui_->Edit1->setFocus(Qt::OtherFocusReason); }

// Page switching ---------------------------------------------------------------------------------

void MainWindow::pageSelectorClick(QLabel* selector) {
    state_.currentPrompt = -1;
    // The field being typed in commits before its page goes behind.
    if (QWidget* focus = QApplication::focusWidget())
        for (std::size_t i = 0; i < selectors_.size(); ++i)
            if (selectors_[i] != selector && panels_[i] && panels_[i]->isAncestorOf(focus)) commitEditing();
    for (std::size_t i = 0; i < selectors_.size(); ++i) {
        if (!selectors_[i]) continue;
        const bool front = selectors_[i] == selector;
        selectors_[i]->setVisible(!front);
        if (!panels_[i]) continue;
        // Only the page in front is shown: Tab walks its controls alone.
        panels_[i]->setVisible(front);
        if (front) panels_[i]->raise();
    }
    ui_->Edit1->raise();
}

QFrame* MainWindow::currentPanel() const {
    // The panel in front is the last of the six among the client's children.
    QFrame* front = nullptr;
    for (QObject* child : centralWidget()->children())
        if (auto* f = qobject_cast<QFrame*>(child);
            f && std::find(panels_.begin(), panels_.end(), f) != panels_.end())
            front = f;
    return front;
}

}  // namespace zrv::app
