#pragma once
/// \file
/// The alert window `frmAlert` ("Personal and Mail Drop Status Control"):
/// the personal alert and the fifteen mail-drop alerts.

#include <QDialog>

namespace zrv {

class AlertWindow : public QDialog {
    Q_OBJECT
public:
    explicit AlertWindow(QWidget* parent = nullptr);
};

}  // namespace zrv
