#pragma once
/// \file
/// The delivery note of a batch job: who the pagers are for, when, on which
/// frequency, and per pager its name, serial numbers, capcodes and result,
/// with a summary line. Made here as text and HTML; report/ renders the
/// HTML to PDF or a printer.

#include <string>
#include <vector>

#include "core/image.h"

namespace zrv {

struct DeliveryLine {
    std::string name;
    std::string ssn;
    std::string psn;
    std::string capcodes;  ///< the switched-on capcodes 1-16, "1301, 1302"
    std::string result;    ///< "verified", "failed", "skipped", ...
};

struct DeliveryNote {
    std::string customer;
    std::string date;       ///< "2026-12-10"
    std::string frequency;  ///< "153.0000 MHz"
    std::string band;
    std::vector<DeliveryLine> pagers;
};

/// The line of pager \p name as \p image holds it (the image as written,
/// with the pager's own serial numbers).
DeliveryLine DeliveryLineOf(const std::string& name, const ConfigImage& image, const std::string& result);
/// Frequency and band of \p image, as the fields show them, into \p note.
void TakeFrequency(DeliveryNote& note, const ConfigImage& image);
/// "5 pagers: 4 verified, 1 failed".
std::string DeliverySummary(const DeliveryNote& note);
/// The note as an HTML document (every text escaped).
std::string DeliveryNoteHtml(const DeliveryNote& note);

}  // namespace zrv
