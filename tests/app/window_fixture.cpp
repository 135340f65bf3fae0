#include "tests/app/window_fixture.h"

#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"

namespace zrv::test {

QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "main_window_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        app::UseDesignFont();
        return a;
    }();
    return *app;
}

void WindowTest::SetUp() {
    TestApp();
    options = app::StartupOptions::Unattended(programDir.path(), notifier);
    options.workingFolder = workingDir.path();
    options.settingsFile = QString::fromStdString((settingsDir / "zrv41k.conf").string());
    options.openDialog = [this](QWidget*, const QString&) {
        ++openDialogs;
        return nextOpen;
    };
    options.saveDialog = [this](QWidget*, const QString&) {
        ++saveDialogs;
        return nextSave;
    };
}

void WindowTest::TearDown() { app_.reset(); }

void WindowTest::start(bool show) {
    app_ = std::make_unique<app::Application>(options);
    if (show) {
        win().show();
        QApplication::processEvents();
    }
}

void WindowTest::choose(QComboBox* c, int index) {
    ASSERT_NE(c, nullptr);
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void WindowTest::useGermanLanguageFile() {
    const auto file = workingDir / i18n::kLanguageFileName;
    std::filesystem::copy_file(SourceDir() / "i18n" / i18n::kDefaultCatalogueName, file);
    ASSERT_TRUE(i18n::ProfileFile(file).writeString(i18n::kSettingSection, i18n::kLanguageKey, i18n::kGerman));
}

}  // namespace zrv::test
