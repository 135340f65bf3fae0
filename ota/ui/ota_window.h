#pragma once
/// \file
/// The OTA window `frmOTA` ("OTA Command"): the user chooses command types and
/// header options and sends the commands to the paging encoder, or only
/// views them. A thin view over OtaSender and the window rules of ota/: it
/// reads its fields into OtaWindowFields, takes the main window's values
/// from the image through OtaInputsFromImage and prints the log lines.
/// Its memo `Memo1` also receives the verify report of the programmer link.

#include <QDialog>
#include <functional>
#include <memory>

#include "core/image.h"
#include "core/notifier.h"
#include "ota/ota_image_inputs.h"
#include "ota/ota_inputs.h"
#include "ota/ota_send.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace Ui {
class frmOTA;
}

namespace zrv::ota {
class TCommPort;
class EncoderLink;
class OtaBuilder;
}

namespace zrv::ota::ui {

/// What the window reaches outside itself; set by the program at start-up.
struct OtaWindowSources {
    /// The configuration image the commands read and write back.
    ConfigImage* image = nullptr;
    /// The page state and the values that live only in main-window controls.
    std::function<OtaControlValues()> controlValues;
    /// After each built command of \p type: the main window shows what the
    /// command wrote back (type 1: a full refresh; types 3..17: the prompts).
    std::function<void(int type)> afterCommand;
};

class OtaWindow : public QDialog {
    Q_OBJECT
public:
    explicit OtaWindow(Notifier& notifier, QWidget* parent = nullptr);
    ~OtaWindow() override;

    void setSources(OtaWindowSources sources) { sources_ = std::move(sources); }
    /// The encoder's serial port shown first in cboEncoderPort.
    void setEncoderPort(const QString& path);
    /// The builder whose package and batch numbers live for the whole process.
    OtaBuilder& builder() { return *builder_; }

    /// `Memo1`: the addresses where the last verify found the pager
    /// different from the image (read-only).
    QPlainTextEdit& memo1();
    /// `memMsg`: the log of the last send.
    QPlainTextEdit& memMsg();

    // Handlers.
    void FormShow();
    void btnOTASendClick();
    void btnOTAViewClick();
    /// The main window was refreshed from the image: cboAlertType goes back
    /// to "Normal", except during the refresh that follows a type-1 command.
    void mainWindowRefreshed();

    /// The window's fields as the builders take them.
    OtaWindowFields fields() const;
    /// True while a send runs.
    bool sending() const;
    /// Escape or the close box: while a send runs, it ends after the frame
    /// on the line and the window closes then.
    void reject() override;

signals:
    /// A send went on the air (with success or not): what the programming
    /// log records of it.
    void sendEnded(const zrv::OperationFacts& facts);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectFieldRules();
    void runSend(bool view);
    void fieldExit(QLineEdit* field);
    bool hexKeyRefused(QKeyEvent* key);
    void showTimeDate();
    void followBoxes();
    void listEncoderPorts(const QString& first);

    std::unique_ptr<Ui::frmOTA> ui_;
    Notifier& notifier_;
    OtaWindowSources sources_;
    std::unique_ptr<TCommPort> port_;
    std::unique_ptr<EncoderLink> link_;
    std::unique_ptr<OtaBuilder> builder_;
    std::unique_ptr<OtaSender> sender_;
    bool keepAlertType_ = false;
    bool closeRequested_ = false;
};

}  // namespace zrv::ota::ui
