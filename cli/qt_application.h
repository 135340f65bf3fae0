#pragma once
/// \file
/// The Qt application object that the serial port and the SQL drivers
/// need, made once by the first command that needs it.

namespace zrv::cli {

/// Makes the command-line tool's QCoreApplication unless one exists.
void EnsureQtApplication();

}  // namespace zrv::cli
