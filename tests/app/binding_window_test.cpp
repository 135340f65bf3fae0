// Every hint-bound control of the six pages, both ways: the refresh shows
// the image field, a user change stores it.
#include <set>

#include "core/binding_hint.h"
#include "core/field_table.h"
#include "core/image_layout.h"
#include "editors/control_registry.h"
#include "tests/app/window_fixture.h"

namespace zrv::test {
namespace {

class BindingWindowTest : public WindowTest {};

TEST_F(BindingWindowTest, EveryBoundControlShowsAndStoresItsField) {
    start();
    std::set<std::string> exercised;
    for (QWidget* w : win().centralWidget()->findChildren<QWidget*>()) {
        const auto hint = ParseBindingHint(HintOf(w).toStdString());
        if (!hint || !hint->isGeneric()) continue;
        const std::string name = w->objectName().toStdString();
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            // The refresh's CapcodeMusicType slot decides these two from another bit.
            if (name == "chkCapMusicType" || name == "chkCME") continue;
            exercised.insert(name);
            for (const bool want : {true, false, true}) {
                StoreBoundCheckState(image(), *hint, want);
                win().refreshAll();
                EXPECT_EQ(box->isChecked(), want) << name;
            }
            box->setChecked(false);  // as a user click
            EXPECT_FALSE(BoundCheckState(image(), *hint)) << name;
            box->setChecked(true);
            EXPECT_TRUE(BoundCheckState(image(), *hint)) << name;
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            exercised.insert(name);
            ASSERT_GT(combo->count(), 0) << name;
            for (int item = combo->count() - 1; item >= 0; --item) {
                StoreBoundComboIndex(image(), *hint, item);
                win().refreshAll();
                EXPECT_EQ(combo->currentIndex(), item) << name;
            }
            for (int item = 0; item < combo->count(); ++item) {
                choose(combo, item);
                EXPECT_EQ(BoundComboIndex(image(), *hint), item) << name;
            }
        } else {
            ADD_FAILURE() << name << " carries a binding hint but is neither a check box nor a combo";
        }
    }
    // Every catalogue field bound by a generic hint, and no other control
    // (the CapcodeMusicType slot's box skipped above).
    std::set<std::string> catalogued;
    for (const FieldDef& f : FieldTable()) {
        const auto hint = ParseBindingHint(f.hint);
        if (hint && hint->isGeneric() && f.objectName != "chkCapMusicType") catalogued.insert(f.objectName);
    }
    EXPECT_EQ(exercised, catalogued);
    EXPECT_FALSE(catalogued.empty());
}

}  // namespace
}  // namespace zrv::test
