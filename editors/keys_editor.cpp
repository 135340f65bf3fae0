// The "AES Encryption" page: sixteen key edits and, for each capcode of the
// page chosen in cboECPage and each of its function bits A..D, the list of
// the key that applies. The key edits are never filled from the image: what
// the user typed since start-up stays, also across a load or a read, and
// only a key the user has edited is stored on leaving. The lists and the row
// captions are rebuilt by the page selector only.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "ui/kit/caption_fit.h"
#include "core/encryption_keys.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/key_filter.h"
#include "editors/main_form.h"
#include "i18n/safe_format.h"

namespace zrv {
namespace {

constexpr int kCapcodeRows = 8;  ///< capcodes per encryption page
constexpr int kFunctionBits = 4;
static_assert(kCapcodeRows * kFunctionBits == kKeyListsPerPage);

class KeysEditor : public EditorModule {
public:
    std::string name() const override { return "keys"; }

    void connectHandlers(MainForm& form) override {
        // The row captions as designed are the formats of the capcode
        // number; a caption once formatted is no format any more.
        for (int row = 0; row < kCapcodeRows; ++row)
            rowCaptions_[static_cast<std::size_t>(row)] = form.require(ctl::family::lblECAP, row).text().toStdString();
        for (int k = 0; k < kKeyCount; ++k) {
            QLineEdit& edit = form.require(ctl::family::edtAESKey, k);
            // Enter commits the key; a character the image cannot hold is not typed.
            FilterTypedCharacters(edit, form, JudgeKeyCharacter);
            OnExit(&edit, [&form, k] { edtAESKey0Exit(form, k); });
        }
        for (int tag = 0; tag < kKeyListsPerPage; ++tag) {
            QComboBox& list = form.require(ctl::family::cboAESKey, tag);
            QObject::connect(&list, &QComboBox::activated, &list,
                             [this, &form, tag](int item) { cboAESKey0Click(form, tag, item); });
        }
        QComboBox& selector = form.require(ctl::cboECPage);
        QObject::connect(&selector, &QComboBox::activated, &selector, [this, &form] { cboECPageChange(form); });
    }

    void applyModifyModeRules(MainForm& form) override { applyKeyListRule(form); }

    void boundControlChanged(MainForm& form, QWidget* control) override {
        // The lists follow "AES - Active" at once: a user who switches AES
        // on can choose keys without choosing the page again.
        if (control == &form.require(ctl::chkAESEN)) applyKeyListRule(form);
    }

private:
    /// The key lists are offered only while AES is active.
    static void applyKeyListRule(MainForm& form) {
        const bool aesActive = form.require(ctl::chkAESEN).isChecked();
        for (int tag = 0; tag < kKeyListsPerPage; ++tag)
            form.require(ctl::family::cboAESKey, tag).setEnabled(aesActive);
    }

    static void edtAESKey0Exit(MainForm& form, int key) {
        QLineEdit& edit = form.require(ctl::family::edtAESKey, key);
        // The edits are not filled from the image: an edit the user passes
        // through without typing must not write its old text over the key
        // that came with a loaded file or a read pager.
        if (!edit.isModified()) return;
        const KeyTextResult result = StoreKeyText(form.image(), key, edit.text().toStdString());
        if (!result.outcome.Report(form.notifier())) {
            GiveFocusBack(&edit);  // the typed text stays for a correction
            return;
        }
        edit.setText(QString::fromStdString(result.shown));
    }

    void cboAESKey0Click(MainForm& form, int tag, int item) {
        if (item < 0 || item >= kKeySelectionItemCount) return;
        StoreKeySelection(form.image(), page_, tag, item);
    }

    void cboECPageChange(MainForm& form) {
        const int page = form.require(ctl::cboECPage).currentIndex();
        if (page < 0 || page >= kKeySelectionPageCount) return;
        page_ = page;
        for (int row = 0; row < kCapcodeRows; ++row) {
            const std::string key = "lblECAP" + std::to_string(row);
            const std::string format = form.catalogueText(key.c_str(), rowCaptions_[static_cast<std::size_t>(row)]);
            QLabel& label = form.require(ctl::family::lblECAP, row);
            label.setText(QString::fromStdString(i18n::SafeFormat(format, {page * kCapcodeRows + row + 1})));
            kit::FitToCaption(&label);
        }
        for (int tag = 0; tag < kKeyListsPerPage; ++tag)
            form.require(ctl::family::cboAESKey, tag).setCurrentIndex(KeySelectionItem(form.image(), page_, tag));
        applyKeyListRule(form);
    }

    int page_ = 0;  ///< the entry of cboECPage the lists show
    std::array<std::string, kCapcodeRows> rowCaptions_;
};

const EditorModuleRegistration registration{"keys", [] { return std::make_unique<KeysEditor>(); }};

}  // namespace
}  // namespace zrv
