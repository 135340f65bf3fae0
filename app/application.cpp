#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <string_view>

#include "app/batch_commands.h"
#include "app/companion_windows.h"
#include "app/compare_commands.h"
#include "app/log_commands.h"
#include "app/connection_commands.h"
#include "app/help_commands.h"
#include "app/ota_commands.h"
#include "app/program_folders.h"
#include "core/default_image.h"
#include "ota/ui/ota_window.h"

namespace zrv::app {

std::optional<CommandLine> ParseCommandLine(const QStringList& arguments, QString& error) {
    CommandLine line;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        QString value;
        const auto takeValue = [&](const QString& option) -> bool {
            if (a.startsWith(option + QLatin1Char('='))) {
                value = a.mid(option.size() + 1);
                return true;
            }
            if (a == option) {
                if (i + 1 >= arguments.size()) {
                    error = option + QStringLiteral(" needs a value");
                    return false;
                }
                value = arguments[++i];
                return true;
            }
            return false;
        };
        if (a.startsWith(QLatin1String("--port"))) {
            if (!takeValue(QStringLiteral("--port"))) {
                if (error.isEmpty()) error = QStringLiteral("unknown option ") + a;
                return std::nullopt;
            }
            if (value.isEmpty()) {
                error = QStringLiteral("--port needs a device path");
                return std::nullopt;
            }
            line.ports.push_back(value.toStdString());
        } else if (a.startsWith(QLatin1String("--encoder-port"))) {
            if (!takeValue(QStringLiteral("--encoder-port"))) {
                if (error.isEmpty()) error = QStringLiteral("unknown option ") + a;
                return std::nullopt;
            }
            if (value.isEmpty()) {
                error = QStringLiteral("--encoder-port needs a device path");
                return std::nullopt;
            }
            line.encoderPort = value.toStdString();
        } else if (a.startsWith(QLatin1String("--channel-spacing"))) {
            if (!takeValue(QStringLiteral("--channel-spacing"))) {
                if (error.isEmpty()) error = QStringLiteral("unknown option ") + a;
                return std::nullopt;
            }
            if (value != QLatin1String("0") && value != QLatin1String("1") && value != QLatin1String("2")) {
                error = QStringLiteral("--channel-spacing takes 0 (5 kHz), 1 (6.25 kHz) or 2 (Auto)");
                return std::nullopt;
            }
            line.channelSpacingMode = value.toInt();
        } else if (a == QLatin1String("--practice")) {
            line.practice = true;
        } else if (!a.startsWith(QLatin1Char('-')) && line.tableFile.empty()) {
            line.tableFile = a.toStdString();  // the table file to open
        } else {
            error = a.startsWith(QLatin1Char('-')) ? QStringLiteral("unknown option ") + a
                                                   : QStringLiteral("only one table file can be opened: ") + a;
            return std::nullopt;
        }
    }
    if (line.practice && !line.ports.empty()) {
        error = QStringLiteral("--practice and --port exclude each other");
        return std::nullopt;
    }
    return line;
}

std::string UsageText() {
    return "Usage: zrv41k [--port PATH]... [--encoder-port PATH] [--channel-spacing 0|1|2] [--practice]\n"
           "              [Qt options] [FILE.tbl]\n"
           "       zrv41k --help | --version\n\n"
           "  FILE.tbl                open this table file at start-up, as File > Open does\n"
           "  --port PATH             probe this serial device for the programmer board\n"
           "                          (repeatable; replaces port discovery)\n"
           "  --encoder-port PATH     the paging encoder's serial port offered first in the\n"
           "                          OTA window (default /dev/ttyS0)\n"
           "  --channel-spacing MODE  channel spacing shown by the About window:\n"
           "                          0 = 5 kHz (default), 1 = 6.25 kHz, 2 = Auto\n"
           "  --practice              practise without hardware: the board simulator with a\n"
           "                          sample pager stands in for the programmer board\n"
           "  --help, -h              print this text and end\n"
           "  --version               print the program name and version and end\n";
}

std::string VersionLine() { return "zrv41k " + std::string(kVersionDigits) + "\n"; }

std::optional<std::string> InformationRequest(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h") return UsageText();
    }
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--version") return VersionLine();
    return std::nullopt;
}

void UseDesignFont() {
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
}

Application::Application(StartupOptions options) {
    // The main window first: its creation runs FormCreate. Then the other
    // windows in their order, hidden until their commands show them.
    const QString encoderPort = QString::fromStdString(options.encoderPort);
    const StartupOptions connection = options;
    PathDialog openDialog = options.openDialog;
    const PathDialog saveDialog = options.saveDialog;
    const QString settingsFile = options.settingsFile;
    const std::filesystem::path guide =
        options.userGuide.empty() ? UserGuideFile(QCoreApplication::applicationDirPath().toStdString())
                                  : options.userGuide;
    main_ = std::make_unique<MainWindow>(std::move(options));
    companions_ = std::make_unique<CompanionWindows>(*main_);
    main_->setCompanions(companions_.get());
    ConnectOtaWindow(*main_, *companions_->frmOTA, encoderPort);
    // A batch row's record keeps its customer and the job and row it came
    // from; a list opened again goes on after the rows the log holds.
    BatchLog batchLog;
    batchLog.annotate = [this](const std::string& customer, const std::string& note) {
        if (logCommands_) logCommands_->annotate(customer, note);
    };
    batchLog.history = [this](const std::string& job, const std::string& since) {
        return logCommands_ ? logCommands_->batchHistory(job, since) : std::vector<BatchLogEntry>{};
    };
    ConnectBatchJob(*main_, openDialog, saveDialog, std::move(batchLog));
    compare_ = std::make_unique<CompareCommands>(*main_, std::move(openDialog), settingsFile);
    logCommands_ = std::make_unique<LogCommands>(*main_, *compare_, settingsFile, saveDialog);
    // An OTA send that went on the air is recorded as the transfers are.
    QObject::connect(companions_->frmOTA, &ota::ui::OtaWindow::sendEnded, logCommands_.get(),
                     [log = logCommands_.get()](const OperationFacts& facts) { log->record(facts); });
    connection_ = std::make_unique<ConnectionCommands>(*main_, connection);
    help_ = std::make_unique<HelpCommands>(*main_, guide);
}

void Application::takeHandOver(const QString& file) {
    MainWindow& window = *main_;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    if (!file.isEmpty()) window.documentCommands().openAt(file);
}

Application::~Application() {
    help_.reset();
    connection_.reset();  // the practice board's simulator ends with the program
    if (main_) main_->setCompanions(nullptr);
}

}  // namespace zrv::app
