// What the main window shows stays readable: German captions are whole and
// clear of their neighbours, the label of the page in front has enough
// contrast, and check boxes keep their captions when the window is rescaled
// below its design size.
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <cmath>

#include "ui/kit/caption_fit.h"
#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"
#include "tests/app/user_actions.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

constexpr const char* kGreyLabels[] = {"StaticText6", "StaticText7", "StaticText8",
                                       "StaticText9", "StaticText10", "staticEncryB"};

/// The labels of the capcode page selectors and the selectors beside them.
constexpr std::pair<const char*, const char*> kPageRows[] = {
    {"lblCCPage", "cboCCPage"}, {"lblSrcPage", "cboSrcPage"},
    {"lblCapMTPage", "cboMTPage"}, {"lblECPage", "cboECPage"}};

class GermanWindowTest : public WindowTest {
protected:
    void expectWholeText(QLabel* label) {
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->objectName().toStdString() << ": " << label->text().toStdString();
    }

    /// Every auto-size label is as wide as its caption and clear of the
    /// shown controls beside it; the reported captions are whole.
    void expectGermanCaptionsWhole() {
        for (int k = 0; k < 16; ++k) {
            auto* key = get<QLabel>(("lblAESKey" + std::to_string(k)).c_str());
            EXPECT_EQ(key->text(), QString::fromUtf8("Schlüssel %1").arg(k + 1));
            expectWholeText(key);
        }
        for (const auto& [name, selector] : kPageRows) {
            QLabel* label = get<QLabel>(name);
            EXPECT_EQ(label->text(), "Rufnummernseite");
            expectWholeText(label);
            EXPECT_FALSE(label->geometry().intersects(get<QWidget>(selector)->geometry())) << name;
        }
        int fitted = 0;
        for (QWidget* w : win().centralWidget()->findChildren<QWidget*>()) {
            if (!kit::AutoSizes(w) || w->isHidden()) continue;
            ++fitted;
            expectWholeText(static_cast<QLabel*>(w));
            for (QObject* o : w->parentWidget()->children()) {
                auto* sibling = qobject_cast<QWidget*>(o);
                if (!sibling || sibling == w || sibling->isHidden()) continue;
                EXPECT_FALSE(w->geometry().intersects(sibling->geometry()))
                    << w->objectName().toStdString() << " overlaps " << sibling->objectName().toStdString();
            }
        }
        EXPECT_GT(fitted, 100);
        expectPageLabelsWhole();
    }

    /// The page selectors and the grey labels hold their (bold) captions and
    /// sit side by side, clear of the mode buttons.
    void expectPageLabelsWhole() {
        std::vector<QWidget*> row;
        for (int i = 0; i < 6; ++i) {
            for (const char* name : {kSelectors[i], kGreyLabels[i]}) {
                auto* label = get<QLabel>(name);
                label->ensurePolished();
                EXPECT_LE(label->sizeHint().width(), label->width()) << name << ": " << label->text().toStdString();
            }
            EXPECT_EQ(get<QWidget>(kSelectors[i])->geometry(), get<QWidget>(kGreyLabels[i])->geometry());
            row.push_back(get<QWidget>(kSelectors[i]));
        }
        row.push_back(get<QWidget>("RBtModify"));
        row.push_back(get<QWidget>("RBtWrite"));
        for (std::size_t i = 0; i + 1 < row.size(); ++i)
            EXPECT_LT(row[i]->geometry().right(), row[i + 1]->geometry().left())
                << row[i]->objectName().toStdString();
    }
};

TEST_F(GermanWindowTest, GermanFromTheLanguageFileShowsWholeCaptions) {
    useGermanLanguageFile();
    start();
    EXPECT_TRUE(win().action("mnuGerman")->isChecked());
    EXPECT_EQ(get<QLabel>("staticEncryB")->text(), QString::fromUtf8("AES-Verschlüsselung"));
    QTest::mouseClick(get<QLabel>("staticEncryF"), Qt::LeftButton);  // its grey label shows
    expectGermanCaptionsWhole();
}

TEST_F(GermanWindowTest, TheGermanMenuItemShowsWholeCaptionsAtEverySize) {
    useGermanLanguageFile();
    i18n::ProfileFile(workingDir / i18n::kLanguageFileName)
        .writeString(i18n::kSettingSection, i18n::kLanguageKey, i18n::kEnglish);
    start();
    auto* page = get<QLabel>("lblSrcPage");
    EXPECT_EQ(page->text(), "Capcode Page");
    win().action("mnuGerman")->trigger();
    expectGermanCaptionsWhole();

    // Rescaled, an auto-size label takes its caption's width in the new font.
    ResizeClientArea(win(), win().pages().designSize() * 3 / 2);
    EXPECT_EQ(page->font().pointSize(), 13);
    EXPECT_EQ(page->width(), page->sizeHint().width());
    expectWholeText(page);
    ResizeClientArea(win(), win().pages().designSize());
    expectGermanCaptionsWhole();

    // Back in English the label is as narrow as its caption again, left edge kept.
    const int left = page->x();
    win().action("mnuEnglish")->trigger();
    EXPECT_EQ(page->text(), "Capcode Page");
    EXPECT_EQ(page->x(), left);
    EXPECT_EQ(page->width(), page->sizeHint().width());
    EXPECT_LT(page->width(), page->fontMetrics().horizontalAdvance("Rufnummernseite"));
}

/// WCAG 2 relative luminance of an sRGB colour.
double RelativeLuminance(const QColor& c) {
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ContrastRatio, FollowsTheWcagFormula) {
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(QColor("#777777"), Qt::white), 4.48, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor("#9a9a9a"), Qt::white), 2.82, 0.01);
}

TEST_F(WindowTest, PageLabelsAreReadableAgainstTheirBackground) {
    start();
    for (const char* names : {"grey", "selector"}) {
        const bool grey = std::string(names) == "grey";
        for (int i = 0; i < 6; ++i) {
            auto* label = get<QLabel>(grey ? kGreyLabels[i] : kSelectors[i]);
            if (label->isHidden()) {
                QTest::mouseClick(get<QLabel>(kSelectors[(i + 1) % 6]), Qt::LeftButton);
                ASSERT_FALSE(label->isHidden());
            }
            label->ensurePolished();
            const QColor text = label->palette().color(label->foregroundRole());
            const QColor background = label->palette().color(label->backgroundRole());
            EXPECT_GE(ContrastRatio(text, background), 4.5) << label->objectName().toStdString();
            // The background the label paints is the one measured: inside
            // the border, beside the centred caption.
            const QImage painted = label->grab().toImage();
            EXPECT_EQ(painted.pixelColor(3, painted.height() / 2), background)
                << label->objectName().toStdString();
        }
    }
}

TEST_F(WindowTest, CheckBoxCaptionsStayWholeAtHalfTheDesignSize) {
    start();
    ResizeClientArea(win(), win().pages().designSize() / 2);
    for (int row = 0; row < 8; ++row) {
        auto* on = get<QCheckBox>(("chkEnCap" + std::to_string(row)).c_str());
        SCOPED_TRACE(on->objectName().toStdString());
        EXPECT_EQ(on->font().pointSize(), 4);  // the font still follows the scale
        EXPECT_GE(on->width(), on->sizeHint().width());
        QStyleOptionButton option;
        option.initFrom(on);
        option.text = on->text();
        const QRect caption = on->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, on);
        EXPECT_GE(caption.width(), on->fontMetrics().horizontalAdvance(on->text()));
        // It grew into free room only.
        EXPECT_FALSE(on->geometry().intersects(get<QWidget>(("panCap" + std::to_string(row)).c_str())->geometry()));
    }
    // Every shown box of the page keeps clear of its neighbours.
    for (QCheckBox* box : get<QWidget>("panCF")->findChildren<QCheckBox*>()) {
        if (box->isHidden()) continue;
        for (QObject* o : box->parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(o);
            if (sibling && sibling != box && !sibling->isHidden()) {
                EXPECT_FALSE(box->geometry().intersects(sibling->geometry()))
                    << box->objectName().toStdString() << " overlaps " << sibling->objectName().toStdString();
            }
        }
    }
    // Back at the design size every box has its designed geometry again.
    ResizeClientArea(win(), win().pages().designSize());
    EXPECT_EQ(get<QWidget>("chkEnCap0")->width(), 48);
}

}  // namespace
}  // namespace zrv::test
