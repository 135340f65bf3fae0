#include "link/programming_session.h"

#include <cstdio>

#include "core/capcodes.h"
#include "core/frequency.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/pager_normalisation.h"
#include "link/link_messages.h"

namespace zrv::link {
namespace {

constexpr int kCapcodesPerPage = 8;

std::string capcodeLabel(const char* prefix, const ConfigImage& image, int n) {
    char text[48];
    std::snprintf(text, sizeof text, "%s%07u", prefix, static_cast<unsigned>(CapcodeAt(image, n)));
    return text;
}

/// What the pager holds after a transfer the user cancelled.
Message CancelledState(const ProgrammerLink& link, bool writeDone) {
    if (writeDone) return msg::CancelledNotVerified();
    return link.PagerTouched ? msg::CancelledPartlyWritten() : msg::CancelledUnchanged();
}

/// Writes \p image into the pager, then verifies it. A cancelled write or
/// verify tells what the pager holds.
WriteOutcome WriteAndVerify(ProgrammerLink& link, ConfigImage& image) {
    // A cancelled write gives the image back as it came: what the user
    // configured, not what the pager half holds.
    const ConfigImage given = image;
    const bool written = link.WritePager(image);
    if (written && link.VerifyPager(image)) return WriteOutcome::Success;
    if (!link.Cancelled) return written ? WriteOutcome::VerifyError : WriteOutcome::WriteError;
    link.Show(CancelledState(link, written));
    image = given;
    return WriteOutcome::Cancelled;
}

Message WriteResult(WriteOutcome outcome, bool repeated) {
    switch (outcome) {
        case WriteOutcome::Success: return repeated ? msg::WriteSuccessRepeated() : msg::WriteSuccess();
        case WriteOutcome::WriteError: return repeated ? msg::WriteErrorRepeated() : msg::WriteErrorResult();
        case WriteOutcome::VerifyError: return repeated ? msg::VerifyErrorRepeated() : msg::VerifyErrorResult();
        case WriteOutcome::Cancelled: break;
    }
    return msg::CancelledResult();
}

/// What the log records of a transfer that ended with \p status: the
/// result line and the message that ended it (nothing when \p ok), the
/// board and \p image.
OperationFacts FactsOf(const ProgrammerLink& link, PagerOperation operation, bool ok, const Message& status,
                       std::optional<ConfigImage> image) {
    OperationFacts facts;
    facts.operation = operation;
    facts.ok = ok;
    if (!ok) {
        facts.result = status.english;
        if (const auto& message = link.LastMessage())
            facts.result += " " + (message->key.empty() ? "" : message->key + ": ") + message->english;
    }
    facts.image = std::move(image);
    facts.port = link.BoardPort.value_or("");
    facts.boardFirmware = link.BoardFirmware;
    return facts;
}

}  // namespace

void TakeAsRead(ConfigImage& image, int& capcodeCount) {
    NormaliseAfterRead(image, capcodeCount);
    ConvertTextsFromPager(image);
    ClearTransferStatus(image);
}

bool ProgramRead(ProgrammerLink& link, LinkSink& sink, ConfigImage& image, int& capcodeCount) {
    sink.firmwareText("");
    link.ForgetLastMessage();
    ConfigImage work;
    work.fill(0, kImageSize, 0xFF);
    if (!link.ReadPager(work)) {
        // A cancelled read changed nothing, neither the pager nor the image.
        const Message status = link.Cancelled ? msg::CancelledResult() : msg::ReadErrorResult();
        if (link.Cancelled) link.Show(msg::CancelledUnchanged());
        sink.status(status, false);
        sink.operationEnded(FactsOf(link, PagerOperation::Read, false, status, std::nullopt));
        return false;
    }
    image = work;
    TakeAsRead(image, capcodeCount);
    sink.status(msg::ReadSuccess(), false);
    // The log keeps the pager's memory as it was read.
    sink.operationEnded(FactsOf(link, PagerOperation::Read, true, msg::ReadSuccess(), work));
    return true;
}

WriteOutcome ProgramWrite(ProgrammerLink& link, LinkSink& sink, ConfigImage& image) {
    sink.firmwareText("");
    link.ForgetLastMessage();
    const ConfigImage given = image;
    PrepareForWrite(image);
    const WriteOutcome outcome = WriteAndVerify(link, image);
    if (outcome == WriteOutcome::Cancelled) image = given;
    const Message status = WriteResult(outcome, false);
    sink.status(status, false);
    sink.operationEnded(FactsOf(link, PagerOperation::Write, outcome == WriteOutcome::Success, status, image));
    return outcome;
}

bool ProgramVerify(ProgrammerLink& link, LinkSink& sink, const ConfigImage& image) {
    sink.firmwareText("");
    link.ForgetLastMessage();
    // The pager is compared with what a write of this image would put there
    // now (its own serial number and firmware words, the values a write
    // sets), and a value that a read forces is no difference: a table read
    // from this pager, or written into it, verifies against it.
    ConfigImage expected = image;
    PrepareForWrite(expected);
    const bool same = link.VerifyWriteOf(expected, [](ConfigImage& side) {
        int capcodeCount = kDefaultCapcodeCount;
        NormaliseAfterRead(side, capcodeCount);
    });
    if (link.Cancelled) link.Show(msg::CancelledUnchanged());
    const Message status = same ? msg::VerifySuccess() : link.Cancelled ? msg::CancelledResult() : msg::VerifyErrorResult();
    sink.status(status, false);
    // The pager's whole memory was read when the verify compared it: the
    // log keeps it. A verify that could not read it compared nothing.
    const bool compared = same || !link.VerifyDifferences().empty();
    sink.operationEnded(FactsOf(link, PagerOperation::Verify, same, status,
                                compared ? std::optional<ConfigImage>(link.PagerBuffer()) : std::nullopt));
    return same;
}

bool IncrementCapcode(ConfigImage& image, int index, Notifier& notifier, int page) {
    return RaiseCapcode(image, page * kCapcodesPerPage + index, index).Report(notifier);
}

RepeatedWrite::RepeatedWrite(ProgrammerLink& link, LinkSink& sink, Notifier& notifier,
                             ConfigImage& image, bool autoIncrement1, bool autoIncrement2, int page)
    : link_(link), sink_(sink), notifier_(notifier), image_(image), auto1_(autoIncrement1),
      auto2_(autoIncrement2), page_(page) {
    PrepareForWrite(image_);
}

std::string RepeatedWrite::firstCapcodeLabel() const {
    return capcodeLabel(" 1st capcode : ", image_, page_ * kCapcodesPerPage);
}

std::string RepeatedWrite::secondCapcodeLabel() const {
    return capcodeLabel(" 2nd capcode : ", image_, page_ * kCapcodesPerPage + 1);
}

WriteOutcome RepeatedWrite::cycle() {
    link_.ForgetLastMessage();
    const WriteOutcome outcome = WriteAndVerify(link_, image_);
    const Message status = WriteResult(outcome, true);
    sink_.status(status, false);
    // The log keeps this pager's image, before the capcodes rise for the next.
    sink_.operationEnded(
        FactsOf(link_, PagerOperation::RepeatedWrite, outcome == WriteOutcome::Success, status, image_));
    if (outcome != WriteOutcome::Success) {
        sink_.progress(0);
        return outcome;
    }
    if (auto1_) IncrementCapcode(image_, 0, notifier_, page_);
    if (auto2_) IncrementCapcode(image_, 1, notifier_, page_);
    sink_.progress(0);
    return WriteOutcome::Success;
}

FrequencyRecheck ImageFrequencyRecheck(Notifier& notifier) {
    return [&notifier](ConfigImage& image, bool firmwareUnknown) {
        const int band = BandFromImage(image).value_or(0);
        const auto outcome = StoreChannelFrequency(image, band, std::to_string(ChannelFrequency(image)),
                                                   firmwareUnknown);
        if (outcome.ok()) return true;
        if (outcome.message) notifier.show(*outcome.message);
        return false;
    };
}

}  // namespace zrv::link
