// The source texts of the "Source Prompts" page: a pair of text rows per
// capcode, offered only when source texts are on (cboSource) and the pair's
// enable box is checked. The handlers and the refresher come with the
// source-text editor; the Modify-mode enabling rule lives here already.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

constexpr int kSourceRows = 32;

class SourceTextsEditor : public EditorModule {
public:
    std::string name() const override { return "source texts"; }

    void applyModifyModeRules(MainForm& form) override {
        const bool sources = form.require(ctl::cboSource).currentIndex() > 0;
        form.require(ctl::cboSrcPage).setEnabled(sources);
        for (int k = 0; k < kSourceRows; k += 2) {
            QCheckBox& enable = form.require(ctl::family::chkSource, k);
            enable.setEnabled(sources);
            const bool rows = sources && enable.isChecked();
            form.require(ctl::family::txtSource, k).setEnabled(rows);
            form.require(ctl::family::txtSource, k + 1).setEnabled(rows);
        }
    }
};

const EditorModuleRegistration registration{"source texts", [] { return std::make_unique<SourceTextsEditor>(); }};

}  // namespace
}  // namespace zrv
