#pragma once
/// \file
/// The programming window `Form1` ("Pager Programmer"): the progress and
/// outcome of a read, write or verify, and the repeated write.

#include <QDialog>

namespace zrv::link::ui {

class ProgrammingWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgrammingWindow(QWidget* parent = nullptr);
};

}  // namespace zrv::link::ui
