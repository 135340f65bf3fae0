#pragma once
/// \file
/// The OTA window `frmOTA` ("OTA Command"): builds OTA commands from its
/// fields, the main window and the image, and sends them to the encoder.

#include <QDialog>

namespace zrv::ota::ui {

class OtaWindow : public QDialog {
    Q_OBJECT
public:
    explicit OtaWindow(QWidget* parent = nullptr);
};

}  // namespace zrv::ota::ui
