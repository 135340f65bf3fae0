// The serial ports of this machine that may hold the programmer board.
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "link/programmer_link.h"

namespace zrv::link {
namespace {

namespace fs = std::filesystem;

// Drivers of USB-serial adapters and serial ports. The board's adapter is a
// Prolific one; the others are the common alternatives.
constexpr std::array<std::string_view, 6> kSerialDrivers = {
    "pl2303", "ftdi_sio", "cp210x", "ch341", "cdc_acm", "usbserial"};

bool isSerialDriver(const std::string& driver) {
    if (driver.empty()) return false;
    if (driver.find("serial") != std::string::npos) return true;  // serial8250, usbserial, ...
    return std::find(kSerialDrivers.begin(), kSerialDrivers.end(), driver) != kSerialDrivers.end();
}

// The number at the end of a device name: 0 for ttyUSB0, 12 for ttyS12.
long deviceNumber(const std::string& name) {
    std::size_t i = name.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(name[i - 1]))) --i;
    if (i == name.size()) return -1;
    const std::string digits = name.substr(i, 9);
    return std::stol(digits);
}

std::string readFirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The driver of a tty's device. Newer kernels put an on-board UART's tty
// below "port" and "ctrl" devices of the serial-base bus; the driver that
// tells what the port is sits above them.
std::string deviceDriver(fs::path device) {
    for (int level = 0; level < 4; ++level) {
        std::error_code ec;
        const fs::path driver = fs::canonical(device / "driver", ec);
        if (ec) return {};
        if (driver.string().find("/bus/serial-base/") == std::string::npos)
            return driver.filename().string();
        device /= "..";
    }
    return {};
}

}  // namespace

std::vector<SerialDevice> SystemSerialDevices() { return SerialDevicesUnder("/sys/class/tty"); }

std::vector<SerialDevice> SerialDevicesUnder(const std::filesystem::path& ttyClass) {
    std::vector<SerialDevice> devices;
    std::error_code ec;
    for (fs::directory_iterator it(ttyClass, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        const std::string driver = deviceDriver(entry / "device");
        if (driver.empty()) continue;  // virtual terminals and pseudo-terminals have no device
        SerialDevice d;
        d.name = entry.filename().string();
        d.path = "/dev/" + d.name;
        d.driver = driver;
        // An on-board UART slot without hardware reports port type 0.
        const std::string type = readFirstLine(entry / "type");
        d.present = type.empty() || type != "0";
        devices.push_back(std::move(d));
    }
    return devices;
}

std::vector<std::string> OrderPortCandidates(
    const std::vector<SerialDevice>& devices,
    const std::function<bool(const std::string&)>& exists) {
    std::vector<const SerialDevice*> chosen;
    for (const auto& d : devices)
        if (d.present && isSerialDriver(d.driver) && deviceNumber(d.name) >= 0)
            chosen.push_back(&d);
    std::sort(chosen.begin(), chosen.end(), [](const SerialDevice* a, const SerialDevice* b) {
        const long na = deviceNumber(a->name), nb = deviceNumber(b->name);
        return na != nb ? na < nb : a->name < b->name;
    });
    std::vector<std::string> out;
    for (const auto* d : chosen)
        if (std::find(out.begin(), out.end(), d->path) == out.end()) out.push_back(d->path);
    if (!out.empty()) return out;
    // Nothing qualified: the first sixteen serial ports stand in, where they exist.
    for (int i = 0; i < 16; ++i) {
        const std::string path = "/dev/ttyS" + std::to_string(i);
        if (exists(path)) out.push_back(path);
    }
    return out;
}

}  // namespace zrv::link
