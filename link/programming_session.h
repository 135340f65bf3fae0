#pragma once
/// \file
/// What the programming window does with the link, without the window:
/// a read into the configuration image with the adjustments that follow it,
/// a single write with its verify, a verify, and the repeated write that
/// programs one pager after another with capcode auto-increment. The window
/// and the command line call these; results go to the LinkSink as status.

#include <string>

#include "core/image.h"
#include "core/notifier.h"
#include "link/programmer_link.h"

namespace zrv::link {

/// Read: the pager into a blank work buffer; on success the work buffer
/// replaces \p image, NormaliseAfterRead follows, the texts come back to the
/// PC character set and the transfer status is cleared. On failure \p image
/// and \p capcodeCount are untouched. Status "Read Success!" / "Read Error!".
/// A transfer the user cancels (ProgrammerLink::RequestCancel) stops between
/// two blocks, says what the pager holds then and ends with "Cancelled"; a
/// cancelled write ends with WriteOutcome::Cancelled.
bool ProgramRead(ProgrammerLink& link, LinkSink& sink, ConfigImage& image, int& capcodeCount);

/// What a read makes of the pager's memory \p image before anyone looks
/// at it: NormaliseAfterRead (sixteen capcodes in \p capcodeCount), the
/// texts back to the PC character set, the transfer status cleared. A
/// pager image kept in the programming log opens the same way.
void TakeAsRead(ConfigImage& image, int& capcodeCount);

/// Single-shot write of \p image (already in the pager character set), then
/// its verify. Status "Write Success!", "Write Error!" or "Verify Error!".
WriteOutcome ProgramWrite(ProgrammerLink& link, LinkSink& sink, ConfigImage& image);

/// Verify of \p image (already in the pager character set) as a write of
/// it would leave the pager now: PrepareForWrite and the link's
/// AdaptToPager, the values a read forces left out on both sides. Status
/// "Verify Success!" or "Verify Error!".
bool ProgramVerify(ProgrammerLink& link, LinkSink& sink, const ConfigImage& image);

/// Adds one to capcode field \p index (0: first, 1: second) of capcode page
/// \p page, or tells Msg25 when it is already 2097151 and keeps it. A raised
/// value below 7 is refused as the capcode field refuses it (Msg48).
/// Returns true when the capcode was raised.
bool IncrementCapcode(ConfigImage& image, int index, Notifier& notifier, int page = 0);

/// The repeated-write mode: each cycle() programs one pager, as one press of
/// the programming window's Write button does.
class RepeatedWrite {
public:
    RepeatedWrite(ProgrammerLink& link, LinkSink& sink, Notifier& notifier, ConfigImage& image,
                  bool autoIncrement1, bool autoIncrement2, int page = 0);

    /// " 1st capcode : 0001234": the capcode this cycle writes (lblAuto1).
    std::string firstCapcodeLabel() const;
    /// " 2nd capcode : 0001235" (lblAuto2).
    std::string secondCapcodeLabel() const;

    /// Writes and verifies one pager; after a success increments the
    /// capcodes whose flag is set. Status "Write Success !", "Write Error !"
    /// or "Verify Error !".
    WriteOutcome cycle();

private:
    ProgrammerLink& link_;
    LinkSink& sink_;
    Notifier& notifier_;
    ConfigImage& image_;
    bool auto1_, auto2_;
    int page_;
};

/// The frequency re-check a write runs after it has read the firmware byte:
/// the band from the image (band 0 when the image names none), the stored
/// channel frequency as the box text, checked and encoded under the
/// firmware's raster plan. A failure is shown through \p notifier.
FrequencyRecheck ImageFrequencyRecheck(Notifier& notifier);

}  // namespace zrv::link
