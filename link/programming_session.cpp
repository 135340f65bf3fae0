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

}  // namespace

bool ProgramRead(ProgrammerLink& link, LinkSink& sink, ConfigImage& image, int& capcodeCount) {
    sink.firmwareText("");
    ConfigImage work;
    work.fill(0, kImageSize, 0xFF);
    if (!link.ReadPager(work)) {
        sink.status(msg::ReadErrorResult(), false);
        return false;
    }
    image = work;
    NormaliseAfterRead(image, capcodeCount);
    sink.status(msg::ReadSuccess(), false);
    ConvertTextsFromPager(image);
    ClearTransferStatus(image);
    return true;
}

WriteOutcome ProgramWrite(ProgrammerLink& link, LinkSink& sink, ConfigImage& image) {
    sink.firmwareText("");
    PrepareForWrite(image);
    if (!link.WritePager(image)) {
        sink.status(msg::WriteErrorResult(), false);
        return WriteOutcome::WriteError;
    }
    if (!link.VerifyPager(image)) {
        sink.status(msg::VerifyErrorResult(), false);
        return WriteOutcome::VerifyError;
    }
    sink.status(msg::WriteSuccess(), false);
    return WriteOutcome::Success;
}

bool ProgramVerify(ProgrammerLink& link, LinkSink& sink, const ConfigImage& image) {
    sink.firmwareText("");
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
    sink.status(same ? msg::VerifySuccess() : msg::VerifyErrorResult(), false);
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
    if (!link_.WritePager(image_)) {
        sink_.status(msg::WriteErrorRepeated(), false);
        sink_.progress(0);
        return WriteOutcome::WriteError;
    }
    if (!link_.VerifyPager(image_)) {
        sink_.status(msg::VerifyErrorRepeated(), false);
        sink_.progress(0);
        return WriteOutcome::VerifyError;
    }
    sink_.status(msg::WriteSuccessRepeated(), false);
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
