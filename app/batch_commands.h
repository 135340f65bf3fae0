#pragma once
/// \file
/// The way into the Batch Job window: Pager > Batch Job..., after Verfy. The
/// window works over the board session with the port held for as long as it
/// is open, and starts from the document open in the main window as its
/// template; the document itself is never changed by a job.

#include <functional>
#include <string>
#include <vector>

#include "app/document_commands.h"
#include "core/batch_run.h"

namespace zrv::app {

class MainWindow;

/// Puts Pager > Batch Job... into \p main's Pager menu and opens the window
/// from it. \p openDialog and \p saveDialog choose the files (null: the Qt
/// file dialogs).
/// \p log is where the job meets the programming log: the customer and note
/// of the records that follow each row (both empty: none), and the records
/// of an earlier run of a list, so that it goes on where it stopped.
struct BatchLog {
    std::function<void(const std::string& customer, const std::string& note)> annotate;
    std::function<std::vector<BatchLogEntry>(const std::string& job, const std::string& sinceUtc)> history;
};
void ConnectBatchJob(MainWindow& main, PathDialog openDialog, PathDialog saveDialog, BatchLog log = {});

}  // namespace zrv::app
