#pragma once
/// \file
/// The function bit window `fm_FunBit` ("Capcode Function Bit Setting"): the
/// priority, display and type of the four function bits of one capcode.

#include <QDialog>

namespace zrv {

class FunctionBitWindow : public QDialog {
    Q_OBJECT
public:
    explicit FunctionBitWindow(QWidget* parent = nullptr);
    /// The capcode the window edits: 8 x capcode page + row (0..47).
    int selectedCapcode = 0;
};

}  // namespace zrv
