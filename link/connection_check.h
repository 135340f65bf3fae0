#pragma once
/// \file
/// The board connection check: what stands between this PC and the
/// programmer board, told as findings that each carry a plain fix. The
/// facts come from the system's files (sysfs, /dev, /etc/group, /proc, the
/// udev rule folders), all looked up below a root that a test may point
/// elsewhere, and from a probe of the candidate ports; judging them is a
/// function of the facts alone. `zrv41k-cli doctor`, Help > Check Board
/// Connection and the status line after a probe that found no board all
/// use this module. It never changes the system: a fix that needs root is
/// given as a command to run.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/notifier.h"
#include "link/programmer_link.h"

namespace zrv::link {

enum class Severity { Ok, Note, Warning, Problem };

/// What a finding is about, in the order of the report.
enum class Topic { Adapter, Brltty, UdevRule, ModemManager, PortMissing, Permission, Busy, Port, Board, Pager };

/// One thing the check found, with what to do about it.
struct Finding {
    Severity severity = Severity::Ok;
    Topic topic = Topic::Port;
    Message text;         ///< what was found (English text with the values in place)
    Message fix;          ///< what to do; an empty key when nothing is to be done
    std::string command;  ///< a command that does the fix (printed, never run); may be empty
};

/// Who is asking and where the system's files are. Every system path is
/// looked up below root, so a test can hand the check a tree of its own.
struct SystemView {
    std::filesystem::path root{"/"};
    std::string user;             ///< the user's name
    unsigned uid = 0;
    std::vector<unsigned> groups; ///< the groups this process has (not those of /etc/group)
    long pid = 0;                 ///< this process: it never counts as holding a port

    /// Where \p systemPath ("/etc/group") is found below root.
    std::filesystem::path at(const std::filesystem::path& systemPath) const;
    /// This process and the real system; the setting ZRV41K_SYSTEM_ROOT
    /// moves the root (the tests use it).
    static SystemView ThisProcess();
};

/// The name of the setting that moves the root of the system's files.
inline constexpr const char* kSystemRootVariable = "ZRV41K_SYSTEM_ROOT";

/// A USB-serial adapter as sysfs and /dev/serial/by-id describe it.
struct UsbAdapter {
    std::string port;          ///< /dev/ttyUSB0
    std::string driver;        ///< pl2303, ch341, cp210x, ...
    std::string vendorId;      ///< "067b"
    std::string productId;     ///< "2303"
    std::string manufacturer;  ///< as the adapter names itself (may be empty)
    std::string product;
    std::string byId;          ///< its /dev/serial/by-id link, empty when none
    std::string deviceNumber;  ///< "188:0", the key of udev's database
    /// "Prolific Technology Inc. USB-Serial Controller", or the by-id name.
    std::string description() const;
};

/// A candidate port as the file system shows it.
struct PortFacts {
    std::string path;  ///< as the user knows it: /dev/ttyUSB0
    bool exists = false;
    bool characterDevice = false;
    unsigned ownerUid = 0;
    unsigned groupId = 0;
    unsigned mode = 0;   ///< st_mode: type and permission bits
    std::string owner;   ///< names; the number when the name is unknown
    std::string group;
    std::vector<std::string> holders;  ///< other processes that have it open: "minicom (pid 812)"
};

/// A line of /etc/group.
struct GroupEntry {
    std::string name;
    unsigned gid = 0;
    std::vector<std::string> members;
};

/// What other programs of the system do to the adapter.
struct ServiceFacts {
    std::string udevRule;  ///< where the package's udev rule is; empty when nowhere
    bool modemManagerRunning = false;
    /// Adapter ports that udev does not mark for ModemManager to ignore.
    std::vector<std::string> portsModemManagerMayOpen;
    bool brlttyInstalled = false;
    /// brltty's udev rules that claim USB-serial chips (CH340, CP210x).
    std::vector<std::string> brlttyRules;
};

/// The pager in the board, as the check reads it.
struct PagerFacts {
    std::string model;     ///< the identity text, "ZR-V41K..." (empty: none)
    std::string firmware;  ///< "1.2"; "-" when the pager has no version
    std::string serial;    ///< the 12 characters; "-" when not valid
};

/// What the probe found.
struct ProbeFacts {
    bool probed = false;
    std::optional<std::string> boardPort;
    std::vector<std::string> silentPorts;  ///< opened, and no board answered
    std::vector<std::pair<std::string, std::string>> refusals;  ///< could not be opened, and why
    std::optional<PagerFacts> pager;
    std::string pagerProblem;  ///< the link's message when the pager could not be read
};

/// Everything the check judges.
struct ConnectionFacts {
    std::string user;
    unsigned uid = 0;
    std::vector<unsigned> groups;
    std::vector<GroupEntry> groupFile;
    std::vector<UsbAdapter> adapters;
    bool portsGiven = false;  ///< the user named the ports (--port): no discovery
    std::vector<PortFacts> ports;
    ServiceFacts services;
    ProbeFacts probe;
};

// --- Gathering ----------------------------------------------------------------

/// The ports a probe tries: \p portOverride when it is not empty, else the
/// discovery of the link over the system below the view's root.
std::vector<std::string> CandidatePorts(const SystemView& view, const std::vector<std::string>& portOverride);
/// The user and the group file, the adapters, \p ports with their owner,
/// group, mode and the processes that hold them, the udev rule, ModemManager
/// and brltty. Reads only; the probe facts stay empty.
ConnectionFacts GatherConnectionFacts(const SystemView& view, const std::vector<std::string>& ports,
                                      bool portsGiven);
/// Probes the ports of \p facts for the board over \p line and reads the
/// pager's model, firmware and serial number into the probe facts. What the
/// link would show (a read time-out) becomes part of the facts instead.
/// With \p release the board is released again at the end.
void ProbeForCheck(SerialLine& line, const SystemView& view, const LinkTiming& timing, const Pump& pump,
                   bool release, ConnectionFacts& facts);
/// The probe facts of the last probe \p link made over \p ports.
ProbeFacts ProbeFactsOf(const ProgrammerLink& link, const std::vector<std::string>& ports);

// --- Judging --------------------------------------------------------------------

/// One finding per fact that matters, in the order of the report.
std::vector<Finding> AssessConnection(const ConnectionFacts& facts);
/// Why no board was found: the first problem among \p findings.
std::optional<Finding> MainProblem(const std::vector<Finding>& findings);
/// Why the last probe of \p link found no board, from the system as \p view
/// shows it (the status line after a probe; the start-up message).
Finding WhyNoBoard(const SystemView& view, const ProgrammerLink& link, bool portsGiven);
/// False for a board that was looked for and did not answer (then "The
/// Programmed Board is not responding!" is the message); true for every
/// other reason, which the connection check explains.
bool CallsForConnectionCheck(const Finding& reason);

// --- Telling ---------------------------------------------------------------------

/// The word before a finding: "ok", "note", "warning", "PROBLEM".
Message SeverityLabel(Severity severity);
/// The findings as text, one block each: severity and text, then the fix
/// and its command indented; \p textOf gives a message's text.
std::string ReportText(const std::vector<Finding>& findings,
                       const std::function<std::string(const Message&)>& textOf);
/// The English texts of \p findings as ReportText prints them.
std::string ReportText(const std::vector<Finding>& findings);

// --- Helpers the tests reach -----------------------------------------------------

/// The lines of an /etc/group file.
std::vector<GroupEntry> ParseGroupFile(std::string_view text);
/// True when a process of \p uid with \p groups may read and write a file
/// of \p ownerUid, \p groupId and \p mode (root may always).
bool MayReadAndWrite(unsigned uid, const std::vector<unsigned>& groups, unsigned ownerUid, unsigned groupId,
                     unsigned mode);
/// \p mode as ls shows it: "crw-rw----".
std::string ModeText(unsigned mode);

}  // namespace zrv::link
