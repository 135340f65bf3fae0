#pragma once
/// \file
/// The control values an OTA command is built from, as plain structures. The
/// OTA window (and the command line) fill them; the builders never read a
/// widget. Field names are the controls' names. Texts are Windows-1252 bytes,
/// combo boxes are given by their selected index (0 for the first item),
/// check boxes by their state.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace zrv::ota {

/// Number of command-type check boxes of the OTA window (Tags 0..17).
inline constexpr int kCommandTypeBoxes = 18;
/// The check box with this Tag stands for type 254.
inline constexpr int kRawDataBoxTag = 17;

/// The fields of the OTA window, with the window's defaults.
struct OtaWindowFields {
    std::string edtPSN = "00000";          ///< public serial number, 5 hexadecimal digits
    std::string edtID = "N12";             ///< control PIN/ID
    std::string edtTMID = "N11";           ///< time PIN/ID
    bool chkEncypt = false;                ///< "Blowfish Encryption "
    std::string edtSSN;                    ///< secret serial number, 16 hexadecimal digits
    bool chkDateField = true;              ///< "System Date"
    std::string edtDateField = "0000000000";  ///< manual date YYMMDDhhmm
    bool chkBat = true;                    ///< "System Batch Number"
    std::string edtBat = "00";
    bool chkPkgStr = true;                 ///< "System Package Number"
    std::string edtPkgStr = "00";
    bool chkLast = true;                   ///< "Send Last OTA Command 255 Enable"
    std::string Edit1 = "transmit success  ";  ///< success prompt, at most 18 characters
    std::string Edit2 = "transmit error    ";  ///< failure prompt, at most 18 characters
    bool chkPkg = true;                    ///< "System Amount of Packages"
    std::string edtPkg = "00";
    bool chkSysDate = true;                ///< "Send time/date"
    std::string edtDate = "00000000000000";  ///< time/date DDMMYYYYHHMMSS
    /// The command-type boxes by Tag: Tag t is type t + 1, Tag 17 is type 254.
    std::array<bool, kCommandTypeBoxes> chkCmd{true};
    int cboAlertType = 0;                  ///< 0 "Normal" .. 3 "Silent+Flash"
    std::string edtLength = "0";           ///< number of digits in edtData
    std::string edtStart = "000";          ///< start address, three hexadecimal digits
    std::string edtData;                   ///< raw data, hexadecimal digits
    bool chkIncPSN = false;                ///< "Auto Increase PSN"
    std::string edtRepeat = "1";           ///< "Repeat Times"
};

/// One prompt field of the main window: its text and the image offset of its
/// prompt record (the first item of the field's binding hint). A field
/// without a record (or with one that would leave the image) is still sent
/// but not written back, so a missing hint can never overwrite other data.
struct PromptField {
    std::string text;
    std::optional<std::size_t> record;
};

/// The main window's controls that the command types read.
struct OtaMainFields {
    // Type 1: capcodes 1 to 7.
    std::array<std::string, 7> edtCap{};   ///< seven decimal digits each
    std::array<int, 7> cboMusicType{};

    // Type 2: the pager option set.
    int cboCtl7 = 0;                        ///< date format
    bool chkBeepAndVibration = false;
    bool chkCapMusicType = false;
    bool chkDirectShowLampOn = false;
    int cboCtl4 = 0;                        ///< page count / direct
    int cboSLC = 0;
    int cboBatLev0 = 0;
    int cboBatLev1 = 0;
    int cboBatLev2 = 0;
    bool chkDiscardErrMsg = false;
    bool chkCtl12 = false;
    bool chkCtl0 = false;
    bool chkPushKeyLampOn = false;
    bool chkKeyboardInterlock = false;
    bool chkCtl10 = false;
    bool chkCtl11 = false;
    bool chkRDKeyPagerOff = false;
    bool chkRDKeyDel = false;
    int cboLng = 0;                         ///< prompt language
    bool chkDuplicateMsgDetect = false;
    bool chkPriMusicType = false;
    int cboPriType = 0;
    bool chkGupMusicType = false;
    int cboGroupType = 0;
    int cboRDC = 0;
    bool chkReminderSelectTone = false;
    bool chkReminder = false;
    std::string txtReminder;                ///< decimal, read only while chkReminder is checked
    int cboTone = 0;
    std::array<bool, 7> chkMenu{};          ///< chkMenu0 .. chkMenu6
    bool chkCtl16 = false;
    bool chkMailDropAlert = false;
    bool chkMoveToMemo = false;
    bool chkCtl18 = false;
    bool chkCtl15 = false;
    int cboSource = 0;

    // Types 3 to 17: source bits, prompts, logo language.
    std::array<bool, 32> chkSource{};
    std::array<PromptField, 44> edtPrompt{};
    int cboLogo = 0;
};

/// The alert window's controls that type 2 reads.
struct OtaAlertFields {
    int cboPersonal = 0;
    std::array<int, 15> cboMailAlert{};
};

}  // namespace zrv::ota
