#include "log/programming_record.h"

#include <pwd.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QSysInfo>

#include "core/capcodes.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/serial_fields.h"

namespace zrv::proglog {

namespace {

/// The name of the user this program runs for: the login's name, else the
/// account's.
std::string UserName() {
    for (const char* variable : {"USER", "LOGNAME"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty()) return value.toStdString();
    }
    if (const passwd* account = getpwuid(getuid())) return account->pw_name;
    return std::to_string(getuid());
}

std::string WithoutTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

std::optional<std::uint32_t> ProgrammingRecord::firstCapcode() const {
    if (capcodes.empty()) return std::nullopt;
    return capcodes.front().capcode;
}

std::string ImageSha256(const ConfigImage& image) {
    const auto& bytes = image.bytes();
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string UtcTimestampNow() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")).toStdString();
}

ProgrammingRecord MakeRecord(const OperationFacts& facts) {
    ProgrammingRecord r;
    r.timeUtc = UtcTimestampNow();
    r.operation = facts.operation;
    r.workstation = QSysInfo::machineHostName().toStdString();
    r.userName = UserName();
    r.port = facts.port;
    r.boardFirmware = facts.boardFirmware;
    r.tableFile = facts.tableFile;
    r.result = facts.ok ? kResultOk : (facts.result.empty() ? "failed" : facts.result);
    r.customer = facts.customer;
    r.note = facts.note;
    r.image = facts.image;
    if (facts.image) {
        const ConfigImage& image = *facts.image;
        r.serial = WithoutTrailingBlanks(PagerSerialText(image));
        r.ssn = SsnText(image);
        r.psn = PsnText(image);
        r.firmware = image.byte(layout::kFirmwareVersion);
        for (int n = 0; n < kRecordedCapcodes; ++n)
            r.capcodes.push_back({n + 1, CapcodeAt(image, n), CapcodeOn(image, n)});
        r.band = BandFromImage(image);
        r.frequency = ChannelFrequency(image);
        r.sha256 = ImageSha256(image);
    }
    if (!facts.addressedPsn.empty()) r.psn = facts.addressedPsn;
    return r;
}

}  // namespace zrv::proglog
