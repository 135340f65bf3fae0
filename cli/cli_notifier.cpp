#include "cli/cli_notifier.h"

#include <iostream>

namespace zrv::cli {

StderrNotifier::StderrNotifier(bool answerYes) : StderrNotifier(std::cerr, answerYes) {}

StderrNotifier::StderrNotifier(std::ostream& out, bool answerYes) : out_(out), answerYes_(answerYes) {}

void StderrNotifier::show(const Message& message) {
    out_ << message.key << ": " << message.english << std::endl;
}

bool StderrNotifier::ask(const Message& message) {
    out_ << message.key << ": " << message.english << (answerYes_ ? " [Yes]" : " [No]") << std::endl;
    return answerYes_;
}

}  // namespace zrv::cli
