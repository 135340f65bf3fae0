#pragma once
/// \file
/// Messages of the command-line tool: every message box becomes a line
/// "MsgNN: text" on stderr; questions take a fixed answer.

#include <iosfwd>

#include "core/notifier.h"

namespace zrv::cli {

class StderrNotifier : public Notifier {
public:
    /// \p answerYes is the answer to every Yes/No question (e.g. from --yes).
    explicit StderrNotifier(bool answerYes = false);
    StderrNotifier(std::ostream& out, bool answerYes);
    void show(const Message& message) override;
    bool ask(const Message& message) override;

private:
    std::ostream& out_;
    bool answerYes_;
};

}  // namespace zrv::cli
