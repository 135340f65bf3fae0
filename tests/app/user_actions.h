#pragma once
// What a user does to the main window that QTest has no one call for.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace zrv::test {

/// The main window's page selectors and the panels they bring to the front, in page order.
inline constexpr const char* kSelectors[] = {"sedtFC", "sedtAS", "sedtPE", "sedtSP", "sedtMT", "staticEncryF"};
inline constexpr const char* kPanels[] = {"panCF", "panAS", "panPE", "pnlSource", "pnlMusic", "panAES"};

/// Resizes the window so that its client area (below the menu) has \p size,
/// as a user dragging the window's border does, and lets it settle.
inline void ResizeClientArea(QMainWindow& window, QSize size) {
    window.resize(window.size() - window.centralWidget()->size() + size);
    QApplication::processEvents();
    ASSERT_EQ(window.centralWidget()->size(), size);
}

/// Brings \p window to the front and clicks into \p box, as a user does
/// before typing; the box must have taken the focus.
inline void ClickInto(QWidget& window, QLineEdit& box) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(&box, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(box.hasFocus()) << box.objectName().toStdString();
}

}  // namespace zrv::test
