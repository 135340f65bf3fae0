#pragma once
/// \file
/// The process-wide state the main window owns and every editor reads:
/// capcode count, page indexes, the current table file, the program folder,
/// the current language and the flags the refresh and the handlers share.

#include <string>

namespace zrv {

struct FormState {
    int capcodeCount = 16;        ///< a multiple of 8 up to 48; 16 from start-up
    int capcodePage = 0;          ///< eight capcodes per page (cboCCPage)
    int sourcePage = 0;           ///< four capcodes per page (cboSrcPage)
    int musicTypePage = 0;        ///< four capcodes per page (cboMTPage)
    int currentPrompt = -1;       ///< prompt being edited on the prompts page; -1 none
    bool refreshInProgress = false;  ///< set while the refresh writes the combos and menu boxes
    bool otaBuilderRunning = false;  ///< the OTA builder refreshes; its selector is then kept
    bool advanceMode = false;     ///< on once the advance password was given
    int contrast = 4;             ///< working contrast value, from byte 0x89
    int channelSpacingMode = 0;   ///< 0 = 5 kHz, 1 = 6.25 kHz, 2 = Auto
    std::string bandText;         ///< text of cboFreq, shown by the About window
    std::string versionText;      ///< "Version 1.09(2014.12.30)"
    std::string programFolder;    ///< folder of the executable, with a trailing '/'
    std::string workingFolder;    ///< current folder at start-up, with a trailing '/'
    std::string languageFile;     ///< workingFolder + "Language.ini"
    std::string language = "English";
    std::string tableFileName;    ///< the file Save writes
    bool useCurrentName = false;  ///< Open / Save As take tableFileName without a dialog
};

}  // namespace zrv
