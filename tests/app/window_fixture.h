#pragma once
// A main window for tests: offscreen, at its design size, with its own
// program and working folders, a recording notifier and no board probe.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

#include "app/application.h"
#include "app/companion_windows.h"
#include "app/document_commands.h"
#include "app/language_commands.h"
#include "app/main_window.h"
#include "app/page_set.h"
#include "app/scanner_input.h"
#include "tests/support/test_support.h"

namespace zrv::test {

/// The process's QApplication (created on first use).
QApplication& TestApp();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Creates the windows (FormCreate) and shows the main window (FormShow).
    void start(bool show = true);
    app::MainWindow& win() { return app_->mainWindow(); }
    ConfigImage& image() { return win().image(); }

    template <class T>
    T* get(const char* name) {
        T* w = win().find<T>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QCheckBox* box(const char* name) { return get<QCheckBox>(name); }
    QComboBox* combo(const char* name) { return get<QComboBox>(name); }
    /// Chooses an item as the user does (runs the change handler).
    void choose(QComboBox* c, int index);
    /// The factory catalogue as the working folder's Language.ini, German
    /// current (before start()).
    void useGermanLanguageFile();

    TempDir programDir;
    TempDir workingDir;
    TempDir settingsDir;  ///< File > Open Recent's settings, never the user's
    RecordingNotifier notifier;
    app::StartupOptions options;
    QString nextOpen;  ///< path the open dialog returns ("" = cancel)
    QString nextSave;  ///< path the save dialog returns
    int openDialogs = 0;
    int saveDialogs = 0;
    std::unique_ptr<app::Application> app_;
};

}  // namespace zrv::test
