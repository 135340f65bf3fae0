#pragma once
/// \file
/// The link's catalogue keys and English defaults, in one place.

#include "core/notifier.h"

namespace zrv::link::msg {

inline Message Box(const char* key, const char* english) {
    return Message{key, english, MsgIcon::Exclamation, {}};
}

// Message boxes.
inline Message WriteError() { return Box("Msg4", "Write error!"); }
inline Message ReadTimeOut() { return Box("Msg5", "Read Time Out!"); }
inline Message ReadError() { return Box("Msg6", "Read error!"); }
inline Message BoardNotResponding() { return Box("Msg7", "The Programmed Board is not responding!"); }
inline Message ProgrammerInitialError() { return Box("Msg7", "Programmer Initial Error!"); }
inline Message ModelUnsure() {
    return Box("Msg10", "This model of pager can not be sure ! Are you sure to overwrite it ?");
}
inline Message NotThisModel() { return Box("Msg16", "This pager is not ZR-V41K !"); }
inline Message ChecksumError() { return Box("Msg19", "CheckSum Error!"); }
/// Shown after the error of a write that stopped once blocks had gone out.
inline Message PartlyWritten() {
    return Box("MsgPartlyWritten",
               "The pager may be partly written: write it again before it is used!");
}

/// A transfer the user cancelled, by what the pager holds now.
inline Message CancelledPartlyWritten() {
    return Box("MsgCancelPartlyWritten", "The pager is partly written: write it again before use");
}
inline Message CancelledNotVerified() {
    return Box("MsgCancelNotVerified", "Cancelled: the pager is written but not verified; verify it before use");
}
inline Message CancelledUnchanged() { return Box("MsgCancelUnchanged", "Cancelled: the pager was not changed"); }

// Status texts ("  %s ......" while running, "  %s" for a result).
inline constexpr const char* kReadingKey = "Msg65";
inline constexpr const char* kReading = "Reading";
inline constexpr const char* kWritingKey = "Msg67";
inline constexpr const char* kWriting = "Writing";
inline constexpr const char* kVerifyingKey = "Msg69";
inline constexpr const char* kVerifying = "Verifying";
/// Status bar text of a lost board.
inline Message BoardDisconnect() { return Box("Msg53", "The Programmed Board Disconnect!"); }

// Results of the programming window, single shot and repeated mode.
inline Message ReadErrorResult() { return Box("Msg6", "Read Error!"); }
inline Message ReadSuccess() { return Box("Msg20", "Read Success!"); }
inline Message WriteErrorResult() { return Box("Msg4", "Write Error!"); }
inline Message VerifyErrorResult() { return Box("Msg23", "Verify Error!"); }
inline Message WriteSuccess() { return Box("Msg66", "Write Success!"); }
inline Message VerifySuccess() { return Box("Msg24", "Verify Success!"); }
inline Message WriteErrorRepeated() { return Box("Msg4", "Write Error !"); }
inline Message VerifyErrorRepeated() { return Box("Msg23", "Verify Error !"); }
inline Message WriteSuccessRepeated() { return Box("Msg66", "Write Success !"); }
inline Message CancelledResult() { return Box("MsgCancelled", "Cancelled"); }

}  // namespace zrv::link::msg
