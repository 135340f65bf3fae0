#include "core/delivery_note.h"

#include <map>

#include "core/capcodes.h"
#include "core/field_table.h"
#include "core/serial_fields.h"

namespace zrv {

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

DeliveryLine DeliveryLineOf(const std::string& name, const ConfigImage& image, const std::string& result) {
    DeliveryLine line{name, SsnText(image), PsnText(image), {}, result};
    for (int n = 0; n < 16; ++n) {
        if (!CapcodeOn(image, n)) continue;
        if (!line.capcodes.empty()) line.capcodes += ", ";
        line.capcodes += std::to_string(CapcodeAt(image, n));
    }
    return line;
}

void TakeFrequency(DeliveryNote& note, const ConfigImage& image) {
    const FieldContext context = ContextAfterOpen(image);
    // The field shows 100 Hz units: 1530000 is 153.0000 MHz.
    const std::string units = RequireField("frequency").get(image, context);
    const bool digits = !units.empty() && units.size() <= 9 && units.find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
        const unsigned long value = std::stoul(units);
        const std::string fraction = std::to_string(10000 + value % 10000).substr(1);
        note.frequency = std::to_string(value / 10000) + "." + fraction + " MHz";
    } else {
        note.frequency = units;
    }
    note.band = RequireField("band").get(image, context);
}

std::string DeliverySummary(const DeliveryNote& note) {
    std::map<std::string, int> counts;
    for (const DeliveryLine& line : note.pagers) ++counts[line.result];
    std::string text = std::to_string(note.pagers.size()) + (note.pagers.size() == 1 ? " pager" : " pagers");
    const char* sep = ": ";
    // The results in the order a job's rows go through them, then any other.
    for (const char* result : {"verified", "failed", "skipped", "waiting"}) {
        const auto it = counts.find(result);
        if (it == counts.end()) continue;
        text += sep + std::to_string(it->second) + " " + result;
        sep = ", ";
        counts.erase(it);
    }
    for (const auto& [result, count] : counts) {
        text += sep + std::to_string(count) + " " + result;
        sep = ", ";
    }
    return text;
}

std::string DeliveryNoteHtml(const DeliveryNote& note) {
    std::string html =
        "<html><body style=\"font-family: sans-serif; font-size: 10pt\">"
        "<h2>Delivery note</h2><table cellpadding=\"2\">"
        "<tr><td><b>Customer</b></td><td>" + Escaped(note.customer) + "</td></tr>"
        "<tr><td><b>Date</b></td><td>" + Escaped(note.date) + "</td></tr>"
        "<tr><td><b>Frequency</b></td><td>" + Escaped(note.frequency) + ", " + Escaped(note.band) +
        "</td></tr></table><p></p>"
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">"
        "<tr><th>#</th><th>Pager</th><th>SSN</th><th>PSN</th><th>Capcodes</th><th>Result</th></tr>";
    int n = 0;
    for (const DeliveryLine& line : note.pagers) {
        html += "<tr><td>" + std::to_string(++n) + "</td><td>" + Escaped(line.name) + "</td><td>" +
                Escaped(line.ssn) + "</td><td>" + Escaped(line.psn) + "</td><td>" + Escaped(line.capcodes) +
                "</td><td>" + Escaped(line.result) + "</td></tr>";
    }
    html += "</table><p><b>" + Escaped(DeliverySummary(note)) + "</b></p></body></html>";
    return html;
}

}  // namespace zrv
