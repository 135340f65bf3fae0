#pragma once
/// \file
/// What the Batch Job window's two source files share: its columns, the
/// texts and colours of a row's state, and the message helper.

#include <QColor>
#include <QString>
#include <string>
#include <vector>

#include "core/batch_job.h"
#include "core/notifier.h"
#include "i18n/safe_format.h"

namespace zrv::link::ui::batch_window {

enum Column { kNumber, kName, kCapcode, kState };

/// A message of the window: the catalogue's text for \p key formatted with
/// \p args, or \p english with them when the catalogue has none.
inline Message Text(const char* key, const char* english, std::vector<std::string> args = {}) {
    const std::vector<i18n::FormatArg> placed(args.begin(), args.end());
    return Message{key, i18n::SafeFormat(english, placed), MsgIcon::Exclamation, std::move(args)};
}

inline Message StateText(BatchRowState state) {
    switch (state) {
        case BatchRowState::Waiting: return Text("BatchStateWaiting", "waiting");
        case BatchRowState::Written: return Text("BatchStateWritten", "written");
        case BatchRowState::Verified: return Text("BatchStateVerified", "verified");
        case BatchRowState::Failed: return Text("BatchStateFailed", "failed");
        case BatchRowState::Skipped: return Text("BatchStateSkipped", "skipped");
    }
    return Text("", "?");
}

inline QColor StateColour(BatchRowState state) {
    switch (state) {
        case BatchRowState::Verified: return QColor(0, 110, 0);
        case BatchRowState::Failed: return QColor(200, 0, 0);
        case BatchRowState::Skipped: return QColor(110, 110, 110);
        default: return QColor(0, 0, 0);
    }
}

inline const QColor kCurrentRowColour(255, 236, 140);

inline QString Q(const std::string& s) { return QString::fromStdString(s); }


/// Marks a write as running for as long as it lasts.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

}  // namespace zrv::link::ui::batch_window
