#include "ota/ui/ota_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTimer>
#include <ctime>

#include "core/cp1252.h"
#include "ui/kit/accessible_names.h"
#include "ui/kit/window_setup.h"
#include "ota/comm_port.h"
#include "ota/encoder_link.h"
#include "ota/ota_command.h"
#include "ota/ota_types.h"
#include "ota/ota_window_rules.h"
#include "ui_ota_window.h"

namespace zrv::ota::ui {

namespace {
/// The OTA window is not localised: its caption has no key of its own.
constexpr i18n::WindowCaption kOtaWindow{"frmOTA", "OTA Command"};

std::string Cp(const QLineEdit* edit) { return Utf8ToCp1252(edit->text().toStdString()); }
QString Utf(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
}  // namespace

OtaWindow::OtaWindow(Notifier& notifier, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmOTA>()), notifier_(notifier) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, kOtaWindow);
    kit::NameControls(this);  // not localised: the designed English names
    setFixedSize(774, 642);  // fixed border at the designed client size
    // On top of every other window while it is visible (it is hidden otherwise).
    setWindowFlag(Qt::WindowStaysOnTopHint, true);

    port_ = std::make_unique<TCommPort>();
    link_ = std::make_unique<EncoderLink>(*port_, notifier_, [] { QCoreApplication::processEvents(); });
    builder_ = std::make_unique<OtaBuilder>(notifier_);
    sender_ = std::make_unique<OtaSender>(*builder_, *link_, notifier_);
    sender_->cancelled = [this] { return closeRequested_; };

    // Each type box names its type; its tool tip says what the type carries
    // (and, for a type not offered, why).
    for (int tag = 0; tag < kCommandTypeBoxes; ++tag) {
        QCheckBox* box = findChild<QCheckBox*>(tag == kRawDataBoxTag ? QStringLiteral("chkCmd254")
                                                                      : QStringLiteral("chkCmd%1").arg(tag));
        if (!box) continue;
        const int type = TypeOfTag(tag);
        box->setText(QString::fromStdString(OtaTypeCaption(type)));
        box->setToolTip(QString::fromStdString(FindOtaCommandType(type)->description));
        if (IsUnofferedType(type)) {
            box->setChecked(false);
            box->setEnabled(false);
        }
    }
    ui_->chkLast->setToolTip(QString::fromStdString(FindOtaCommandType(kTypeLast)->description));
    listEncoderPorts(QString::fromLatin1(TCommPort::kDefaultPortName));
    connectFieldRules();
    connect(ui_->btnOTASend, &QPushButton::clicked, this, &OtaWindow::btnOTASendClick);
    connect(ui_->btnOTAView, &QPushButton::clicked, this, &OtaWindow::btnOTAViewClick);
}

OtaWindow::~OtaWindow() = default;

QPlainTextEdit& OtaWindow::memo1() { return *ui_->Memo1; }
QPlainTextEdit& OtaWindow::memMsg() { return *ui_->memMsg; }
bool OtaWindow::sending() const { return sender_->busy(); }

void OtaWindow::listEncoderPorts(const QString& first) {
    QComboBox* combo = ui_->cboEncoderPort;
    combo->clear();
    combo->addItem(first);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.systemLocation() != first) combo->addItem(info.systemLocation());
    combo->setCurrentIndex(0);
}

void OtaWindow::setEncoderPort(const QString& path) {
    if (!path.isEmpty()) listEncoderPorts(path);
}

// Field rules ------------------------------------------------------------------------------

void OtaWindow::connectFieldRules() {
    for (QLineEdit* e : {ui_->edtID, ui_->edtTMID, ui_->edtBat, ui_->edtPkgStr, ui_->edtPkg, ui_->edtDate,
                         ui_->edtDateField, ui_->edtData, ui_->edtStart})
        e->installEventFilter(this);
    connect(ui_->edtData, &QLineEdit::textChanged, this,
            [this](const QString& text) { ui_->edtLength->setText(QString::number(text.size())); });
    connect(ui_->chkSysDate, &QCheckBox::clicked, this, [this] {
        if (ui_->chkDateField->isChecked()) showTimeDate();
    });
    connect(ui_->chkDateField, &QCheckBox::clicked, this, [this] {
        if (ui_->chkDateField->isChecked()) showTimeDate();
    });
    for (QCheckBox* box : {ui_->chkSysDate, ui_->chkDateField, ui_->chkBat, ui_->chkPkgStr, ui_->chkPkg,
                           ui_->chkLast, ui_->chkEncypt, ui_->chkCmd1, ui_->chkCmd254})
        connect(box, &QCheckBox::toggled, this, &OtaWindow::followBoxes);
}

/// The labels and fields each box shows or hides, and the time field that
/// can be edited only without the system date.
void OtaWindow::followBoxes() {
    const auto show = [](bool on, std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets) w->setVisible(on);
    };
    show(ui_->chkSysDate->isChecked(), {ui_->lblDate, ui_->edtDate});
    show(!ui_->chkDateField->isChecked(), {ui_->lblDateField, ui_->edtDateField});
    ui_->edtDate->setEnabled(!ui_->chkDateField->isChecked());
    show(!ui_->chkBat->isChecked(), {ui_->lblBat, ui_->edtBat});
    show(!ui_->chkPkgStr->isChecked(), {ui_->lblPkgStr, ui_->edtPkgStr});
    show(!ui_->chkPkg->isChecked(), {ui_->lblPkg, ui_->edtPkg});
    show(ui_->chkLast->isChecked(), {ui_->lblSuccessPrompt, ui_->Edit1, ui_->lblFailedPrompt, ui_->Edit2});
    show(ui_->chkEncypt->isChecked(), {ui_->lblSSN, ui_->edtSSN});
    show(ui_->chkCmd1->isChecked(), {ui_->lblAlertType, ui_->cboAlertType});
    show(ui_->chkCmd254->isChecked(),
         {ui_->lblLength, ui_->edtLength, ui_->lblStart, ui_->edtStart, ui_->lblData, ui_->edtData});
}

void OtaWindow::showTimeDate() { ui_->edtDate->setText(QString::fromStdString(FormatTimeDate(LocalNow()))); }

bool OtaWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == ui_->edtData || watched == ui_->edtStart))
        return hexKeyRefused(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) {
        // Leaving a field for another control; a message box or another
        // window taking the focus is not leaving it.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            if (auto* field = qobject_cast<QLineEdit*>(watched)) fieldExit(field);
    }
    return QDialog::eventFilter(watched, event);
}

bool OtaWindow::hexKeyRefused(QKeyEvent* key) {
    const QString text = key->text();
    if (text.isEmpty()) return false;
    const QChar ch = text.front();
    if (ch.unicode() < 32 || (ch.unicode() < 128 && AcceptsHexKey(static_cast<char>(ch.unicode())))) return false;
    notifier_.show(HexOnlyMessage());
    return true;
}

void OtaWindow::fieldExit(QLineEdit* field) {
    if (field == ui_->edtData) {
        if (field->text().size() % 2 != 0) {
            notifier_.show(EvenDigitsMessage());
            QTimer::singleShot(0, field, [field] { field->setFocus(Qt::OtherFocusReason); });
        }
        return;
    }
    if (field == ui_->edtStart) {
        if (const auto start = FormatStartAddress(Cp(field)))
            field->setText(QString::fromStdString(*start));
        else
            notifier_.show(ConversionErrorMessage(Cp(field)));
        return;
    }
    ui_->edtID->setText(Utf(PadControlId(Cp(ui_->edtID))));
}

// Show ----------------------------------------------------------------------------------------

void OtaWindow::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void OtaWindow::FormShow() {
    closeRequested_ = false;
    OtaWindowFields w = fields();
    if (sources_.image) {
        const OtaImageInputs in =
            OtaInputsFromImage(*sources_.image, sources_.controlValues ? sources_.controlValues() : OtaControlValues{});
        FillOnShow(w, in.show, LocalNow());
    } else {
        FillOnShow(w, {}, LocalNow());
    }
    ui_->edtID->setText(Utf(w.edtID));
    ui_->edtTMID->setText(Utf(w.edtTMID));
    ui_->edtPSN->setText(Utf(w.edtPSN));
    ui_->edtSSN->setText(Utf(w.edtSSN));
    ui_->edtDate->setText(Utf(w.edtDate));
}

OtaWindowFields OtaWindow::fields() const {
    OtaWindowFields w;
    w.edtPSN = Cp(ui_->edtPSN);
    w.edtID = Cp(ui_->edtID);
    w.edtTMID = Cp(ui_->edtTMID);
    w.chkEncypt = ui_->chkEncypt->isChecked();
    w.edtSSN = Cp(ui_->edtSSN);
    w.chkDateField = ui_->chkDateField->isChecked();
    w.edtDateField = Cp(ui_->edtDateField);
    w.chkBat = ui_->chkBat->isChecked();
    w.edtBat = Cp(ui_->edtBat);
    w.chkPkgStr = ui_->chkPkgStr->isChecked();
    w.edtPkgStr = Cp(ui_->edtPkgStr);
    w.chkLast = ui_->chkLast->isChecked();
    w.Edit1 = Cp(ui_->Edit1);
    w.Edit2 = Cp(ui_->Edit2);
    w.chkPkg = ui_->chkPkg->isChecked();
    w.edtPkg = Cp(ui_->edtPkg);
    w.chkSysDate = ui_->chkSysDate->isChecked();
    w.edtDate = Cp(ui_->edtDate);
    for (int tag = 0; tag < kCommandTypeBoxes; ++tag) {
        const QCheckBox* box = findChild<QCheckBox*>(
            tag == kRawDataBoxTag ? QStringLiteral("chkCmd254") : QStringLiteral("chkCmd%1").arg(tag));
        w.chkCmd[static_cast<std::size_t>(tag)] = box && box->isEnabled() && box->isChecked();
    }
    w.cboAlertType = ui_->cboAlertType->currentIndex();
    w.edtLength = Cp(ui_->edtLength);
    w.edtStart = Cp(ui_->edtStart);
    w.edtData = Cp(ui_->edtData);
    w.chkIncPSN = ui_->chkIncPSN->isChecked();
    w.edtRepeat = Cp(ui_->edtRepeat);
    return w;
}

// Send and View -------------------------------------------------------------------------------

void OtaWindow::btnOTASendClick() { runSend(false); }
void OtaWindow::btnOTAViewClick() { runSend(true); }

void OtaWindow::runSend(bool view) {
    if (sender_->busy()) return;  // one send at a time: the stream, port and counters are shared
    ConfigImage scratch;
    ConfigImage& image = sources_.image ? *sources_.image : scratch;
    const OtaImageInputs in =
        OtaInputsFromImage(image, sources_.controlValues ? sources_.controlValues() : OtaControlValues{});
    OtaWindowFields w = fields();
    link_->setPortName(ui_->cboEncoderPort->currentText().toStdString());

    ui_->btnOTASend->setEnabled(false);
    ui_->btnOTAView->setEnabled(false);
    sender_->started = [this] { ui_->memMsg->clear(); };
    const auto log = [this](const std::string& line) { ui_->memMsg->appendPlainText(Utf(line)); };
    const auto after = [this](int type) {
        if (!sources_.afterCommand) return;
        keepAlertType_ = type == 1;
        sources_.afterCommand(type);
        keepAlertType_ = false;
    };
    const std::string addressedPsn = w.edtPSN;
    try {
        if (view) {
            sender_->View(w, in.main, in.alert, image, log, after);
        } else {
            const SendResult result = sender_->Send(w, in.main, in.alert, image, log, after);
            if (SendIsRecorded(result))
                emit sendEnded(SendFacts(result, link_->portName(), addressedPsn, sources_.image));
        }
    } catch (...) {
        ui_->btnOTASend->setEnabled(true);
        ui_->btnOTAView->setEnabled(true);
        throw;
    }
    ui_->edtPSN->setText(Utf(w.edtPSN));
    ui_->btnOTASend->setEnabled(true);
    ui_->btnOTAView->setEnabled(true);
    if (closeRequested_) {
        closeRequested_ = false;
        close();
    }
}

void OtaWindow::mainWindowRefreshed() {
    if (!keepAlertType_) ui_->cboAlertType->setCurrentIndex(0);
}

void OtaWindow::reject() {
    if (sender_->busy()) {
        closeRequested_ = true;
        return;
    }
    QDialog::reject();
}

void OtaWindow::closeEvent(QCloseEvent* event) {
    if (sender_->busy()) {
        // The frame on the line finishes; the send then ends and the window closes.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace zrv::ota::ui
