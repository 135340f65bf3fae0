#pragma once
/// \file
/// Records of the programming log as text: one record's details as the
/// command line's `log show` prints them and the log window shows them,
/// and records as CSV (the command line's --csv and the window's Export).

#include <string>
#include <vector>

#include "log/programming_record.h"

namespace zrv::proglog {

/// The channel frequency in MHz as the frequency box shows it ("153.0000").
std::string FrequencyText(std::uint32_t frequency);

/// One line per fact: "Time: ...", "Operation: ...", ..., the capcodes
/// with their ON flags, "Image: 22016 bytes, SHA-256 ..." or "Image: none".
std::string RecordDetails(const ProgrammingRecord& record);

/// The CSV columns (id, time_utc, operation, workstation, user, port,
/// board_firmware, serial, ssn, psn, firmware, band, frequency_mhz,
/// capcode1..capcode16, capcodes_on, sha256, table_file, result,
/// customer, note), a header line first. capcodes_on holds one '1' or '0'
/// per capcode. Fields with a comma, a quote or a line break are quoted.
std::string RecordsCsv(const std::vector<ProgrammingRecord>& records);

}  // namespace zrv::proglog
