#pragma once
/// \file
/// The function bit window `fm_FunBit` ("Capcode Function Bit Setting"): the
/// priority alert, message display and message type of the four function
/// bits of one capcode. It is filled from the image each time it is shown
/// (which writes nothing) and stores each user change at once, so closing it
/// needs no saving step; the capcode page's summaries follow every change.

#include <QDialog>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;

namespace Ui {
class fm_FunBit;
}

namespace zrv {

class MainForm;

class FunctionBitWindow : public QDialog {
    Q_OBJECT
public:
    FunctionBitWindow(MainForm& form, QWidget* parent = nullptr);
    ~FunctionBitWindow() override;

    /// Edits capcode \p n (0..47): shows the window modally.
    void showFor(int n);
    /// Caption, the captions of the current language, the capcode number in
    /// lblCapFunBit and the controls from the image.
    void FormShow();

    /// The capcode the window edits: 8 x capcode page + slot (0..47).
    int selectedCapcode = 0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chkFunPri0Click(int f);
    void cboDisp0Click(int f);
    void cboType0Click(int f);

    std::unique_ptr<Ui::fm_FunBit> ui_;
    MainForm& form_;
    std::array<QCheckBox*, 4> priority_{};  ///< chkFunPri0..3, by function bit
    std::array<QComboBox*, 4> display_{};   ///< cboDisp0..3
    std::array<QComboBox*, 4> type_{};      ///< cboType0..3
    bool loading_ = false;  ///< set while FormShow fills the controls
};

}  // namespace zrv
