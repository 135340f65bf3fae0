#pragma once
/// \file
/// The OTA window `frmOTA` ("OTA Command"): builds OTA commands from its
/// fields, the main window and the image, and sends them to the encoder.
/// Its memo `Memo1` also receives the verify report of the programmer link.

#include <QDialog>

class QPlainTextEdit;

namespace zrv::ota::ui {

class OtaWindow : public QDialog {
    Q_OBJECT
public:
    explicit OtaWindow(QWidget* parent = nullptr);

    /// `Memo1`: the addresses where the last verify found the pager
    /// different from the image (read-only).
    QPlainTextEdit& memo1() { return *memo1_; }

private:
    QPlainTextEdit* memo1_ = nullptr;
};

}  // namespace zrv::ota::ui
