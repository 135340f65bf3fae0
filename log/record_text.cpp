#include "log/record_text.h"

#include <cstdio>

namespace zrv::proglog {

namespace {

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

template <class T>
std::string Number(const std::optional<T>& value) {
    return value ? std::to_string(*value) : std::string();
}

std::string OrDash(const std::string& text) { return text.empty() ? "-" : text; }

}  // namespace

std::string FrequencyText(std::uint32_t frequency) {
    char text[24];
    std::snprintf(text, sizeof text, "%u.%04u", frequency / 10000, frequency % 10000);
    return text;
}

std::string RecordDetails(const ProgrammingRecord& r) {
    std::string out;
    const auto line = [&out](const char* name, const std::string& value) {
        out += std::string(name) + ": " + value + '\n';
    };
    line("Record", std::to_string(r.id));
    line("Time (UTC)", r.timeUtc);
    line("Operation", std::string(OperationName(r.operation)));
    line("Result", r.result);
    line("Workstation", OrDash(r.workstation));
    line("User", OrDash(r.userName));
    line("Port", OrDash(r.port));
    line("Board firmware", OrDash(r.boardFirmware));
    line("Serial number", OrDash(r.serial));
    line("SSN", OrDash(r.ssn));
    line("PSN", OrDash(r.psn));
    line("Firmware byte", r.firmware ? std::to_string(*r.firmware) : "-");
    line("Band", r.band ? std::to_string(*r.band) : "-");
    line("Frequency", r.frequency ? FrequencyText(*r.frequency) + " MHz" : "-");
    for (const RecordedCapcode& c : r.capcodes) {
        char text[48];
        std::snprintf(text, sizeof text, "%07u %s", static_cast<unsigned>(c.capcode), c.on ? "ON" : "off");
        line(("Capcode " + std::to_string(c.slot)).c_str(), text);
    }
    line("Table file", OrDash(r.tableFile));
    line("Customer", OrDash(r.customer));
    line("Note", OrDash(r.note));
    line("Image", r.sha256.empty() ? "none" : std::to_string(kImageSize) + " bytes, SHA-256 " + r.sha256);
    return out;
}

std::string RecordsCsv(const std::vector<ProgrammingRecord>& records) {
    std::string out =
        "id,time_utc,operation,workstation,user,port,board_firmware,serial,ssn,psn,firmware,band,frequency_mhz";
    for (int n = 1; n <= kRecordedCapcodes; ++n) out += ",capcode" + std::to_string(n);
    out += ",capcodes_on,sha256,table_file,result,customer,note\n";
    for (const ProgrammingRecord& r : records) {
        std::vector<std::string> fields{std::to_string(r.id), r.timeUtc, std::string(OperationName(r.operation)),
                                        r.workstation, r.userName, r.port, r.boardFirmware, r.serial, r.ssn, r.psn,
                                        Number(r.firmware), Number(r.band),
                                        r.frequency ? FrequencyText(*r.frequency) : std::string()};
        std::string on;
        for (int n = 0; n < kRecordedCapcodes; ++n) {
            const bool present = n < static_cast<int>(r.capcodes.size());
            fields.push_back(present ? std::to_string(r.capcodes[n].capcode) : std::string());
            if (present) on += r.capcodes[n].on ? '1' : '0';
        }
        for (const std::string* text : {static_cast<const std::string*>(&on), &r.sha256, &r.tableFile, &r.result, &r.customer, &r.note})
            fields.push_back(*text);
        for (std::size_t k = 0; k < fields.size(); ++k) out += (k ? "," : "") + Field(fields[k]);
        out += '\n';
    }
    return out;
}

}  // namespace zrv::proglog
