// Gathering the facts of the connection check: the user, the adapters, the
// candidate ports and the programs that take adapters away.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "link/connection_check.h"

namespace zrv::link {
namespace {

namespace fs = std::filesystem;

/// Where udev reads rules from; a file in an earlier folder hides one of
/// the same name in a later folder.
constexpr std::array<const char*, 4> kUdevRuleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                         "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
constexpr const char* kPackageUdevRule = "60-zrv41k.rules";
/// USB vendor numbers of the CH340 and CP210x chips that brltty's rules claim.
constexpr std::array<const char*, 2> kChipsBrlttyTakes = {"1a86", "10c4"};
constexpr std::array<const char*, 4> kBrlttyPrograms = {"/usr/bin/brltty", "/bin/brltty", "/usr/sbin/brltty",
                                                        "/sbin/brltty"};
/// Folders of the serial lock files (LCK..ttyUSB0) that programs leave.
constexpr std::array<const char*, 3> kLockFolders = {"/run/lock", "/var/lock", "/tmp"};
constexpr std::size_t kMaxReadBytes = 1 << 20;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in) return text;
    text.resize(kMaxReadBytes);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::string firstLine(const fs::path& path) {
    std::string text = readText(path);
    const auto end = text.find('\n');
    if (end != std::string::npos) text.resize(end);
    return text;
}

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool present(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

/// Numbered folders of /proc: every process this user may look at.
std::vector<long> processIds(const SystemView& view) {
    std::vector<long> ids;
    std::error_code ec;
    for (fs::directory_iterator it(view.at("/proc"), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (name.size() > 9) continue;
        ids.push_back(std::stol(name));
    }
    return ids;
}

std::string commandOf(const SystemView& view, long pid) {
    return firstLine(view.at("/proc/" + std::to_string(pid) + "/comm"));
}

/// The board simulator keeps its own terminal open: it is the board at
/// the other end of the line, not a program in the way.
constexpr const char* kBoardSimulator = "boardsim";

/// "minicom (pid 812)"; empty for a process that is not in the way.
std::string holderText(const SystemView& view, long pid) {
    std::string name = commandOf(view, pid);
    if (name == kBoardSimulator) return {};
    if (name.empty()) name = "a program";
    return name + " (pid " + std::to_string(pid) + ")";
}

/// The colon-separated fields of a line of /etc/passwd or /etc/group.
std::vector<std::string> colonFields(const std::string& line) {
    std::vector<std::string> parts;
    std::istringstream fields(line);
    std::string part;
    while (std::getline(fields, part, ':')) parts.push_back(part);
    return parts;
}

/// The name of \p uid in /etc/passwd, or the number.
std::string userName(const SystemView& view, unsigned uid) {
    std::istringstream lines(readText(view.at("/etc/passwd")));
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> parts = colonFields(line);
        if (parts.size() > 2 && parts[2] == std::to_string(uid)) return parts[0];
    }
    return std::to_string(uid);
}

std::string groupName(const std::vector<GroupEntry>& groups, unsigned gid) {
    for (const auto& g : groups)
        if (g.gid == gid) return g.name;
    return std::to_string(gid);
}

/// The USB device above a tty's device in sysfs: the folder with idVendor.
std::optional<fs::path> usbDeviceOf(const fs::path& ttyEntry) {
    std::error_code ec;
    fs::path dir = fs::canonical(ttyEntry / "device", ec);
    if (ec) return std::nullopt;
    for (int level = 0; level < 5 && !dir.empty(); ++level) {
        if (present(dir / "idVendor")) return dir;
        dir = dir.parent_path();
    }
    return std::nullopt;
}

std::vector<UsbAdapter> findAdapters(const SystemView& view) {
    std::vector<UsbAdapter> adapters;
    const fs::path ttyClass = view.at("/sys/class/tty");
    for (const SerialDevice& d : SerialDevicesUnder(ttyClass)) {
        const fs::path entry = ttyClass / d.name;
        const auto usb = usbDeviceOf(entry);
        if (!usb) continue;  // an on-board port, not an adapter
        UsbAdapter a;
        a.port = d.path;
        a.driver = d.driver;
        a.vendorId = firstLine(*usb / "idVendor");
        a.productId = firstLine(*usb / "idProduct");
        a.manufacturer = firstLine(*usb / "manufacturer");
        a.product = firstLine(*usb / "product");
        a.deviceNumber = firstLine(entry / "dev");
        adapters.push_back(std::move(a));
    }
    // The stable names udev gives the adapters, when it runs.
    std::error_code ec;
    const fs::path byId = view.at("/dev/serial/by-id");
    for (fs::directory_iterator it(byId, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (linkError) continue;
        for (auto& a : adapters)
            if (target.filename() == fs::path(a.port).filename())
                a.byId = "/dev/serial/by-id/" + it->path().filename().string();
    }
    std::sort(adapters.begin(), adapters.end(),
              [](const UsbAdapter& a, const UsbAdapter& b) { return a.port < b.port; });
    return adapters;
}

PortFacts portFacts(const SystemView& view, const std::string& path, const std::vector<GroupEntry>& groups) {
    PortFacts p;
    p.path = path;
    struct stat st {};
    if (::stat(view.at(path).c_str(), &st) != 0) return p;
    p.exists = true;
    p.characterDevice = S_ISCHR(st.st_mode);
    p.ownerUid = st.st_uid;
    p.groupId = st.st_gid;
    p.mode = st.st_mode;
    p.owner = userName(view, st.st_uid);
    p.group = groupName(groups, st.st_gid);
    return p;
}

void addHolder(std::vector<std::string>& holders, const std::string& text) {
    if (!text.empty() && std::find(holders.begin(), holders.end(), text) == holders.end()) holders.push_back(text);
}

/// The processes other than this one that have a port open (as far as
/// /proc lets this user see) or hold its lock file.
void findHolders(const SystemView& view, std::vector<PortFacts>& ports) {
    std::map<std::string, PortFacts*> byDevice;
    for (auto& p : ports) {
        if (!p.exists) continue;
        std::error_code ec;
        const fs::path device = fs::canonical(view.at(p.path), ec);
        if (!ec) byDevice[device.string()] = &p;
    }
    if (byDevice.empty()) return;
    for (const long pid : processIds(view)) {
        if (pid == view.pid) continue;
        std::error_code ec;
        const fs::path fds = view.at("/proc/" + std::to_string(pid) + "/fd");
        for (fs::directory_iterator it(fds, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code linkError;
            const std::string target = fs::read_symlink(it->path(), linkError).string();
            if (linkError) continue;
            const auto found = byDevice.find(target);
            if (found != byDevice.end()) addHolder(found->second->holders, holderText(view, pid));
        }
    }
    for (auto& [device, port] : byDevice) {
        std::set<std::string> names = {fs::path(port->path).filename().string(), fs::path(device).filename().string()};
        for (const char* folder : kLockFolders)
            for (const auto& name : names) {
                std::istringstream content(readText(view.at(fs::path(folder) / ("LCK.." + name))));
                long pid = 0;
                if (!(content >> pid) || pid <= 0 || pid == view.pid) continue;
                if (present(view.at("/proc/" + std::to_string(pid)))) addHolder(port->holders, holderText(view, pid));
            }
    }
}

std::string udevRuleFile(const SystemView& view, const std::string& name) {
    for (const char* folder : kUdevRuleFolders) {
        const fs::path path = fs::path(folder) / name;
        if (present(view.at(path))) return path.string();
    }
    return {};
}

/// brltty's rule files that claim the CH340 or CP210x chips; a rule file
/// that an earlier folder overrides (masked with an empty file) is skipped.
std::vector<std::string> brlttyRules(const SystemView& view) {
    std::set<std::string> seen;
    std::vector<std::string> claiming;
    for (const char* folder : kUdevRuleFolders) {
        std::error_code ec;
        for (fs::directory_iterator it(view.at(folder), ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.find("brltty") == std::string::npos || !seen.insert(name).second) continue;
            const std::string text = lowered(readText(it->path()));
            for (const char* chip : kChipsBrlttyTakes)
                if (text.find(chip) != std::string::npos) {
                    claiming.push_back((fs::path(folder) / name).string());
                    break;
                }
        }
    }
    return claiming;
}

ServiceFacts serviceFacts(const SystemView& view, const std::vector<UsbAdapter>& adapters) {
    ServiceFacts s;
    s.udevRule = udevRuleFile(view, kPackageUdevRule);
    for (const long pid : processIds(view))
        if (commandOf(view, pid) == "ModemManager") s.modemManagerRunning = true;
    for (const auto& a : adapters) {
        const std::string data = readText(view.at("/run/udev/data/c" + a.deviceNumber));
        if (a.deviceNumber.empty() || data.find("E:ID_MM_DEVICE_IGNORE=1") == std::string::npos)
            s.portsModemManagerMayOpen.push_back(a.port);
    }
    for (const char* program : kBrlttyPrograms)
        if (present(view.at(program))) s.brlttyInstalled = true;
    if (s.brlttyInstalled) s.brlttyRules = brlttyRules(view);
    return s;
}

}  // namespace

fs::path SystemView::at(const fs::path& systemPath) const {
    if (root.empty() || root == "/" || !systemPath.is_absolute()) return systemPath;
    return root / systemPath.relative_path();
}

SystemView SystemView::ThisProcess() {
    SystemView view;
    if (const char* root = std::getenv(kSystemRootVariable); root && *root) view.root = root;
    view.uid = ::getuid();
    view.pid = ::getpid();
    view.groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) == count)
        for (const gid_t g : groups)
            if (std::find(view.groups.begin(), view.groups.end(), g) == view.groups.end()) view.groups.push_back(g);
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(view.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        view.user = found->pw_name;
    else if (const char* user = std::getenv("USER"))
        view.user = user;
    else
        view.user = std::to_string(view.uid);
    return view;
}

std::string UsbAdapter::description() const {
    std::string text = manufacturer;
    if (!product.empty()) text += (text.empty() ? "" : " ") + product;
    if (text.empty() && !byId.empty()) text = fs::path(byId).filename().string();
    return text.empty() ? "unnamed adapter" : text;
}

std::vector<GroupEntry> ParseGroupFile(std::string_view text) {
    std::vector<GroupEntry> groups;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> parts = colonFields(line);
        if (parts.size() < 3 || parts[0].empty()) continue;
        char* end = nullptr;
        const unsigned long gid = std::strtoul(parts[2].c_str(), &end, 10);
        if (parts[2].empty() || *end) continue;
        GroupEntry g{parts[0], static_cast<unsigned>(gid), {}};
        if (parts.size() > 3) {
            std::istringstream members(parts[3]);
            std::string member;
            while (std::getline(members, member, ','))
                if (!member.empty()) g.members.push_back(member);
        }
        groups.push_back(std::move(g));
    }
    return groups;
}

std::vector<std::string> CandidatePorts(const SystemView& view, const std::vector<std::string>& portOverride) {
    if (!portOverride.empty()) return portOverride;
    return OrderPortCandidates(SerialDevicesUnder(view.at("/sys/class/tty")),
                               [&view](const std::string& path) { return present(view.at(path)); });
}

ConnectionFacts GatherConnectionFacts(const SystemView& view, const std::vector<std::string>& ports,
                                      bool portsGiven) {
    ConnectionFacts facts;
    facts.user = view.user;
    facts.uid = view.uid;
    facts.groups = view.groups;
    facts.groupFile = ParseGroupFile(readText(view.at("/etc/group")));
    facts.adapters = findAdapters(view);
    facts.portsGiven = portsGiven;
    for (const auto& port : ports) facts.ports.push_back(portFacts(view, port, facts.groupFile));
    findHolders(view, facts.ports);
    facts.services = serviceFacts(view, facts.adapters);
    return facts;
}

}  // namespace zrv::link
