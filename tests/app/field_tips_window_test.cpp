// The tool tips of the controls that edit a field: hovered on the main window
// and in its companion windows, each names what its field stores, the values
// it accepts and its command-line name, in the language in force.
#include <QHelpEvent>
#include <algorithm>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <map>
#include <set>

#include "core/field_table.h"
#include "editors/alert_window.h"
#include "editors/function_bit_window.h"
#include "i18n/message_catalogue.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

/// \p text with its line breaks made spaces (long value lists are wrapped).
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

/// The English description of \p field with its arguments in place.
std::string EnglishDescription(const FieldDef& field) {
    std::string text = field.description.english;
    for (const std::string& arg : field.description.args) text.replace(text.find("%s"), 2, arg);
    return text;
}

class FieldTipsWindowTest : public WindowTest {
protected:
    /// The tool tip \p control shows when the mouse rests on it.
    static std::string hover(QWidget* control) {
        QHelpEvent rest(QEvent::ToolTip, QPoint(4, 4), control->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(control, &rest);
        return control->toolTip().toStdString();
    }

    /// Runs \p act while the modal \p window that \p opener opens is shown, then closes it with \p ok.
    void whileOpen(QDialog& window, const char* ok, QAbstractButton* opener, const std::function<void()>& act) {
        QTimer::singleShot(0, &window, [&] {
            act();
            window.findChild<QPushButton*>(ok)->click();
        });
        opener->click();
    }

    /// The tool tip of every field whose control the window offers, by
    /// field name: main-window controls on the page that shows the field,
    /// function bits and alert lengths in their windows.
    std::map<std::string, std::string> hoverEveryField() {
        std::map<std::string, std::string> tips;
        for (const FieldDef& f : FieldTable()) {
            if (f.objectName.empty()) continue;
            if (!f.pageSelector.empty()) {
                QComboBox* pages = combo(f.pageSelector.c_str());
                if (f.page >= pages->count()) continue;  // capcodes the file does not keep
                if (pages->currentIndex() != f.page) choose(pages, f.page);
            }
            QWidget* control = win().control(QString::fromStdString(ShownByControl(f, image())));
            EXPECT_NE(control, nullptr) << f.name;
            if (control) tips[f.name] = hover(control);
        }
        QComboBox* capcodePages = combo("cboCCPage");
        FunctionBitWindow& bits = *app_->companions().fm_FunBit;
        for (int page = 0; page < capcodePages->count(); ++page) {
            choose(capcodePages, page);
            for (int slot = 0; slot < 8; ++slot) {
                auto* opener = win().find<QPushButton>(QStringLiteral("btnFunBit%1").arg(slot));
                whileOpen(bits, "btnFunSetOK", opener, [&] {
                    for (int f = 0; f < 4; ++f) {
                        const std::string base =
                            "capcode." + std::to_string(8 * page + slot + 1) + "." + "ABCD"[f] + ".";
                        tips[base + "priority"] = hover(bits.findChild<QWidget*>(QStringLiteral("chkFunPri%1").arg(f)));
                        tips[base + "display"] = hover(bits.findChild<QWidget*>(QStringLiteral("cboDisp%1").arg(f)));
                        tips[base + "type"] = hover(bits.findChild<QWidget*>(QStringLiteral("cboType%1").arg(f)));
                    }
                });
            }
        }
        AlertWindow& alerts = *app_->companions().frmAlert;
        whileOpen(alerts, "btnPMOK", win().find<QPushButton>("btnSelect"), [&] {
            tips["alert.personal"] = hover(alerts.findChild<QWidget*>("cboPersonal"));
            for (int i = 0; i < 15; ++i)
                tips[std::string("alert.maildrop.") + "123456789ABCDEF"[i]] =
                    hover(alerts.findChild<QWidget*>(QStringLiteral("cboMailAlert%1").arg(i)));
        });
        return tips;
    }
};

TEST_F(FieldTipsWindowTest, EveryFieldControlNamesItsFieldAndValuesInTheLanguageInForce) {
    const auto languageFile = workingDir / i18n::kLanguageFileName;
    std::filesystem::copy_file(SourceDir() / "i18n" / i18n::kDefaultCatalogueName, languageFile);
    ASSERT_TRUE(i18n::ProfileFile(languageFile).writeString(i18n::kSettingSection, i18n::kLanguageKey, i18n::kEnglish));
    start();
    const auto english = hoverEveryField();
    win().action("mnuGerman")->trigger();
    const auto german = hoverEveryField();

    std::set<std::string> familiesSeen;
    std::set<std::string> families;
    for (const FieldDef& f : FieldTable()) {
        families.insert(FieldNamePattern(f.name));
        EXPECT_FALSE(f.description.key.empty()) << f.name << " has no description";
        const auto en = english.find(f.name);
        if (en == english.end()) continue;
        familiesSeen.insert(FieldNamePattern(f.name));
        const std::string& tip = en->second;
        const std::string values = f.kind == FieldKind::ReadOnly ? "Shown only" : "Accepts: " + f.accepts;
        EXPECT_EQ(tip.rfind(EnglishDescription(f) + "\n", 0), 0u) << f.name << ":\n" << tip;
        EXPECT_NE(OneLine(tip).find(values), std::string::npos) << f.name << ":\n" << tip;
        EXPECT_TRUE(tip.ends_with("\nCommand line: " + f.name)) << f.name << ":\n" << tip;

        ASSERT_EQ(german.count(f.name), 1u) << f.name;
        const std::string& de = german.at(f.name);
        const std::string deValues = f.kind == FieldKind::ReadOnly ? "Nur angezeigt" : "Erlaubt: " + f.accepts;
        EXPECT_NE(de.substr(0, de.find('\n')), tip.substr(0, tip.find('\n'))) << f.name << " is not translated";
        EXPECT_NE(OneLine(de).find(deValues), std::string::npos) << f.name << ":\n" << de;
        EXPECT_TRUE(de.ends_with("\nBefehlszeile: " + f.name)) << f.name << ":\n" << de;
    }
    // Every family of fields was hovered on some control.
    EXPECT_EQ(familiesSeen, families);
}

}  // namespace
}  // namespace zrv::test
