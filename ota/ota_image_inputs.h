#pragma once
/// \file
/// The main-window and alert-window values an OTA command reads, taken from
/// the configuration image exactly as the full refresh of the main window
/// shows them. The OTA window and `zrv41k-cli ota` both use this one
/// function, so neither reads the image a second way.

#include <array>

#include "core/image.h"
#include "ota/ota_inputs.h"
#include "ota/ota_window_rules.h"

namespace zrv::ota {

/// The few values the OTA commands read that live only in controls (no
/// refresher sets them from the image) or in the window's page state. The
/// defaults are what the controls hold after start-up.
struct OtaControlValues {
    int capcodePage = 0;    ///< the capcode page the "Freq. && Codes" page shows
    int musicTypePage = 0;  ///< the page of the music rows
    int sourcePage = 0;     ///< the page of the source texts
    std::string edtRTCCtl;  ///< the control capcode (hidden "OTA Features" group, never filled)
    bool chkReminder = false;
    std::string txtReminder = "0";
    bool chkMailDropAlert = false;
    int cboPriType = 0;
    int cboGroupType = 0;
    /// The odd source boxes (chkSource1, 3, ..): hidden, never set.
    std::array<bool, 32> chkSource{};
};

/// Everything an OTA command takes from outside the OTA window.
struct OtaImageInputs {
    OtaMainFields main;
    OtaAlertFields alert;
    OtaShowSources show;  ///< what Show copies into edtID, edtTMID, edtPSN, edtSSN
};

/// The values the main window and the alert window show for \p image after
/// a full refresh. A stored code that names no item counts as the first
/// item (what the selector shows after start-up); the refresh itself would
/// keep whatever the selector showed before.
OtaImageInputs OtaInputsFromImage(const ConfigImage& image, const OtaControlValues& controls = {});

}  // namespace zrv::ota
