#include "app/log_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QSettings>
#include <cstdlib>

#include "app/compare_commands.h"
#include "app/main_window.h"
#include "app/pager_menu.h"
#include "app/window_refresh.h"
#include "core/field_compare.h"
#include "editors/compare_window.h"
#include "i18n/message_catalogue.h"
#include "link/board_session.h"
#include "link/programming_session.h"
#include "log/programming_log.h"
#include "log/ui/programming_log_window.h"

namespace zrv::app {

namespace {

Message RecordHeading() { return {"MsgLogRecordHeading", "The record"}; }
Message LoggedMessage() { return {"MsgLogged", "Logged", MsgIcon::Information}; }
Message NotLoggedMessage(const std::string& reason) {
    return {"MsgNotLogged", "Not logged: " + reason, MsgIcon::Warning, {reason}};
}

}  // namespace

LogCommands::LogCommands(MainWindow& main, CompareCommands& compare, QString settingsFile, PathDialog saveDialog)
    : main_(main), compare_(compare), settingsFile_(std::move(settingsFile)), saveDialog_(std::move(saveDialog)) {
    connect(&main_.boardSession(), &link::BoardSession::operationEnded, this,
            [this](const OperationFacts& facts) { record(facts); });
    if (QAction* entry = main_.action(QStringLiteral("mnuProgLog")))
        connect(entry, &QAction::triggered, this, &LogCommands::mnuProgLogClick);
}

LogCommands::~LogCommands() {
    // The window's table reads through the log's connection: it goes first.
    delete window_;
}

proglog::LogTarget LogCommands::target() const {
    const QString setting = OpenSettings(settingsFile_)->value(QLatin1String(proglog::kLogDatabaseSetting)).toString();
    return proglog::ChooseLogTarget(std::nullopt,
                                    setting.isEmpty() ? std::nullopt : std::optional(setting.toStdString()),
                                    std::getenv(proglog::kLogDatabaseVariable), main_.state().programFolder);
}

proglog::ProgrammingLog* LogCommands::log() {
    if (log_ || openTried_) return log_.get();
    openTried_ = true;
    log_ = proglog::ProgrammingLog::open(target(), openError_);
    return log_.get();
}

void LogCommands::record(OperationFacts facts) {
    // What a practice board reads and writes is no pager's history: it stays
    // out of the records a dealer relies on.
    if (main_.boardSession().practice() && facts.operation != PagerOperation::OtaSend) {
        main_.pagerMenu().showLogStatus(QString::fromStdString(
            i18n::MessageText(main_.catalogue(), NotLoggedMessage("practice board"))));
        return;
    }
    facts.tableFile = main_.document().fileName().string();
    if (!customer_.empty()) facts.customer = customer_;
    if (!note_.empty()) facts.note = note_;
    std::string error = openError_;
    if (proglog::ProgrammingLog* open = log()) {
        if (open->append(proglog::MakeRecord(facts), error)) {
            main_.pagerMenu().showLogStatus(
                QString::fromStdString(i18n::MessageText(main_.catalogue(), LoggedMessage())));
            if (window_ && window_->isVisible()) window_->search();
            return;
        }
        error = "the programming log " + proglog::ShownLocation(open->target()) + ": " + error;
    } else {
        error = openError_;
    }
    // The next operation opens the log anew: a server back up, a disk with
    // room again, a folder made writable take its record.
    if (window_)
        window_->setLog(nullptr, QString::fromStdString(proglog::ShownLocation(target())), QString::fromStdString(error));
    log_.reset();
    openTried_ = false;
    main_.pagerMenu().showLogStatus(
        QString::fromStdString(i18n::MessageText(main_.catalogue(), NotLoggedMessage(error))));
}

std::vector<BatchLogEntry> LogCommands::batchHistory(const std::string& job, const std::string& sinceUtc) {
    std::vector<BatchLogEntry> entries;
    proglog::ProgrammingLog* open = log();
    if (!open) return entries;
    proglog::LogFilter filter;
    filter.notePrefix = BatchNotePrefix(job);
    filter.since = sinceUtc;
    std::string error;
    const auto records = open->query(filter, error);
    if (!records) return entries;
    for (const proglog::ProgrammingRecord& r : *records) {
        if (r.operation != PagerOperation::Write) continue;
        BatchLogEntry entry{r.note, r.ok(), r.customer, std::nullopt, r.timeUtc};
        // The delivery note names a verified pager's serial numbers: its image tells them.
        if (entry.verified)
            if (auto whole = open->record(r.id, error)) entry.image = std::move(whole->image);
        entries.push_back(std::move(entry));
    }
    return entries;
}

proglog::ui::ProgrammingLogWindow& LogCommands::window() {
    if (window_) return *window_;
    window_ = new proglog::ui::ProgrammingLogWindow(&main_);
    proglog::ui::LogWindowHooks hooks;
    hooks.text = [this](const Message& m) { return i18n::MessageText(main_.catalogue(), m); };
    hooks.localise = [this](QDialog& w) { main_.localise(w, proglog::ui::kProgrammingLogWindow); };
    hooks.openImage = [this](const proglog::ProgrammingRecord& r) { openImage(r); };
    hooks.compareImage = [this](const proglog::ProgrammingRecord& r) { compareWithCurrent(r); };
    hooks.saveDialog = [this](QWidget* parent, const QString& suggested) {
        if (saveDialog_) return saveDialog_(parent, suggested);
        return QFileDialog::getSaveFileName(parent, QString(), suggested, QStringLiteral("CSV files (*.csv)"));
    };
    hooks.useDatabase = [this](const QString& location) { useDatabase(location); };
    hooks.notifier = &main_.notifier();
    window_->setHooks(std::move(hooks));
    return *window_;
}

void LogCommands::showLogInWindow() {
    proglog::ProgrammingLog* open = log();
    const proglog::LogTarget shown = open ? open->target() : target();
    window().setLog(open, QString::fromStdString(proglog::ShownLocation(shown)),
                    open ? QString() : QString::fromStdString(openError_));
}

void LogCommands::mnuProgLogClick() {
    // A log that could not be opened before is tried again.
    if (!log_) openTried_ = false;
    showLogInWindow();
    window().show();
    window().raise();
}

void LogCommands::useDatabase(const QString& location) {
    const QString defaultLocation = QString::fromStdString(
        proglog::ChooseLogTarget(std::nullopt, std::nullopt, nullptr, main_.state().programFolder).location);
    auto settings = OpenSettings(settingsFile_);
    if (location.isEmpty() || location == defaultLocation)
        settings->remove(QLatin1String(proglog::kLogDatabaseSetting));
    else
        settings->setValue(QLatin1String(proglog::kLogDatabaseSetting), location);
    settings->sync();
    if (window_) window_->setLog(nullptr, location, QString());  // the old connection goes
    log_.reset();
    openTried_ = false;
    openError_.clear();
    showLogInWindow();
}

void LogCommands::compareWithCurrent(const proglog::ProgrammingRecord& record) {
    if (!record.image) return;
    main_.commitEditing();  // the field being edited is part of this configuration
    ConfigImage recorded = *record.image;
    int capcodeCount = main_.document().capcodeCount();
    link::TakeAsRead(recorded, capcodeCount);
    compare_.window().showComparison(CompareImages(main_.document().image(), recorded), RecordHeading(),
                                     QString::fromStdString(i18n::MessageText(main_.catalogue(), RecordHeading())) +
                                         QStringLiteral(" %1").arg(record.id));
}

void LogCommands::openImage(const proglog::ProgrammingRecord& record) {
    if (!record.image) return;
    Document& document = main_.document();
    ConfigImage image = *record.image;
    int capcodeCount = document.capcodeCount();
    link::TakeAsRead(image, capcodeCount);
    // One change of the document, as a read is: undone in one step.
    const Document::Hold hold(document, ChangeOrigin::Read);
    document.image() = image;
    document.setCapcodeCount(capcodeCount);
    SelectBandFromImage(main_);
    main_.refreshAll();
}

}  // namespace zrv::app
