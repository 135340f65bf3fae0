// The Batch Job window: what it shows (the rows, the prompt, the buttons)
// and what the link reports while a row is written.
#include <QBrush>
#include <QTableWidgetItem>
#include <algorithm>

#include "core/capcodes.h"
#include "core/delivery_note.h"
#include "link/link_messages.h"
#include "link/ui/batch_window.h"
#include "link/ui/batch_window_parts.h"
#include "ui_batch_window.h"

namespace zrv::link::ui {

using namespace batch_window;

// What the window shows ---------------------------------------------------------------------------------

void BatchWindow::showRows() {
    auto* grid = ui_->grdBatchRows;
    const int rows = run_ ? static_cast<int>(run_->rowCount()) : 0;
    grid->setRowCount(rows);
    for (int k = 0; k < rows; ++k) showRow(static_cast<std::size_t>(k));
    if (run_ && run_->current())
        grid->scrollToItem(grid->item(static_cast<int>(*run_->current()), kName));
    ui_->PBBatchJob->setMaximum(std::max(rows, 1));
    ui_->PBBatchJob->setValue(run_ ? static_cast<int>(run_->rowsDone()) : 0);
    ui_->PBBatchJob->setTextVisible(run_ != nullptr);  // "2 / 4" only with a job
    showPrompt();
    enableButtons();
    // Write is where Enter goes next, unless the user is typing the customer.
    if (ui_->btnBatchWrite->isEnabled() && !ui_->edtBatchCustomer->hasFocus()) ui_->btnBatchWrite->setFocus();
}

void BatchWindow::showRow(std::size_t k) {
    auto* grid = ui_->grdBatchRows;
    const int r = static_cast<int>(k);
    const BatchRowState state = run_->state(k);
    const QString cells[] = {QString::number(r + 1), Q(run_->row(k).name),
                             QStringLiteral("%1").arg(CapcodeAt(run_->plannedImage(k), 0), 7, 10, QLatin1Char('0')),
                             Q(text(StateText(state)))};
    const bool current = run_->current() == k;
    for (int c = 0; c < 4; ++c) {
        QTableWidgetItem* item = grid->item(r, c);
        if (!item) {
            item = new QTableWidgetItem;
            grid->setItem(r, c, item);
        }
        item->setText(cells[c]);
        QFont font = item->font();
        font.setBold(current);
        item->setFont(font);
        item->setBackground(current ? QBrush(kCurrentRowColour) : QBrush());
        if (c == kState) item->setForeground(StateColour(state));
    }
}

void BatchWindow::showPrompt() {
    Message prompt;
    if (refusedRows_ > 0) {
        prompt = Text("MsgBatchRefused", "Rows that cannot be programmed: %d. Nothing was written.",
                      {std::to_string(refusedRows_)});
    } else if (!run_) {
        prompt = Text("MsgBatchChooseJob", "Choose the list of pagers (CSV).");
    } else if (const auto k = run_->current()) {
        const std::string name = run_->row(*k).name;
        prompt = run_->state(*k) == BatchRowState::Failed
                     ? Text("MsgBatchRowFailed", "Pager %s failed: Write tries it again, Skip passes it.", {name})
                     : Text("MsgBatchInsert", "Insert pager %s and press Write.", {name});
    } else {
        const std::string summary = DeliverySummary(run_->note());
        prompt = run_->stopped() ? Text("MsgBatchStopped", "The job was stopped: %s.", {summary})
                                 : Text("MsgBatchDone", "The job has ended: %s.", {summary});
    }
    ui_->lblBatchPrompt->setText(Q(text(prompt)));
}

void BatchWindow::enableButtons() {
    const bool idle = !busy_;
    const bool writable = idle && run_ && run_->current();
    ui_->btnBatchWrite->setEnabled(writable);
    ui_->btnBatchSkip->setEnabled(writable);
    ui_->btnBatchStop->setEnabled(writable);
    ui_->btnBatchRedo->setEnabled(idle && run_ && run_->redoable());
    ui_->btnBatchNote->setEnabled(idle && run_);
    ui_->btnBatchClose->setEnabled(idle);
    // A job under way keeps its template and list.
    const bool choosable = idle && (!run_ || run_->rowsDone() == 0);
    ui_->btnBatchTemplate->setEnabled(choosable);
    ui_->btnBatchJob->setEnabled(choosable);
}

void BatchWindow::pollWhileIdle() {
    if (busy_ || !hooks_.pollBoard) return;
    // A probe for a board that has come back talks on the port: no button
    // may start a write meanwhile. The focus stays where the user left it.
    QPointer<QWidget> focus = focusWidget();
    {
        const BusyScope busy(busy_);
        enableButtons();
        hooks_.pollBoard();
    }
    enableButtons();
    if (focus && focus->isEnabled()) focus->setFocus();
}

// What the link reports -----------------------------------------------------------------------------------

void BatchWindow::status(const Message& message, bool running) {
    // The verify has begun: the pager holds the row's bytes.
    if (writing_ && running && message.key == msg::kVerifyingKey && run_ && run_->current()) {
        run_->markWritten();
        showRow(*run_->current());
    }
    ui_->lblBatchMsg->setText(Q("  " + text(message) + (running ? " ......" : "")));
    ui_->lblBatchMsg->repaint();
}

void BatchWindow::progressRange(int first, int last) {
    ui_->PBBatchRow->setRange(first, std::max(first, last));
}

void BatchWindow::progress(int position) {
    ui_->PBBatchRow->setValue(std::clamp(position, ui_->PBBatchRow->minimum(), ui_->PBBatchRow->maximum()));
}

}  // namespace zrv::link::ui
