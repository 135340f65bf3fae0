#pragma once
// What a user does to the main window that QTest has no one call for.
#include <QApplication>
#include <QMainWindow>
#include <gtest/gtest.h>

namespace zrv::test {

/// Resizes the window so that its client area (below the menu) has \p size,
/// as a user dragging the window's border does, and lets it settle.
inline void ResizeClientArea(QMainWindow& window, QSize size) {
    window.resize(window.size() - window.centralWidget()->size() + size);
    QApplication::processEvents();
    ASSERT_EQ(window.centralWidget()->size(), size);
}

}  // namespace zrv::test
