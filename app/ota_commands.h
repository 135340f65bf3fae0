#pragma once
/// \file
/// The way into the OTA window: Tools > OTA Command... (Ctrl+T) shows it, and
/// the window reads the image and the main window's page state through the
/// main window, which shows what each command wrote back.

#include <QString>

namespace zrv::ota::ui {
class OtaWindow;
}

namespace zrv::app {

class MainWindow;

/// Connects \p window to \p main: the menu item, the image and the values
/// that live only in main-window controls, the refresh after a command and
/// the reset of the alert type after every refresh. \p encoderPort (from
/// --encoder-port) is the port offered first; empty keeps /dev/ttyS0.
void ConnectOtaWindow(MainWindow& main, ota::ui::OtaWindow& window, const QString& encoderPort);

}  // namespace zrv::app
