#pragma once
/// \file
/// A Notifier that shows nothing, for the documentation tools that run the
/// window without anyone to answer a box.
#include "core/notifier.h"

namespace zrv::app {
class SilentNotifier : public Notifier {
public:
    void show(const Message&) override {}
    bool ask(const Message&) override { return false; }
};
}  // namespace zrv::app
