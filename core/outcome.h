#pragma once
/// \file
/// What every editor rule returns: whether the edit was taken, and the
/// message the window shows (or the command line prints) when there is one.
/// A refusal leaves the image as it was unless the rule says otherwise; a
/// message may also come with an accepted edit (a warning after storing).

#include <optional>
#include <utility>

#include "core/notifier.h"

namespace zrv {

struct Outcome {
    bool ok = true;
    std::optional<Message> message;

    /// Taken, nothing to show.
    static Outcome Ok() { return {}; }
    /// Taken, with a message to show after storing.
    static Outcome Warned(Message message) { return {true, std::move(message)}; }
    /// Refused with \p message.
    static Outcome Refused(Message message) { return {false, std::move(message)}; }

    /// Shows the message, if any, through \p notifier; returns ok.
    bool Report(Notifier& notifier) const {
        if (message) notifier.show(*message);
        return ok;
    }
};

}  // namespace zrv
