#pragma once
/// \file
/// Getting connected, on the window's side: Help > Check Board Connection
/// and its window; the reason a probe found no board, told whole in the
/// status line (shortened to the line's width, the full text and its fix
/// as the line's tool tip) and, after the start-up probe, the check offered
/// for it; and Pager > Practice With a Simulated Pager (zrv41k --practice),
/// which starts the board simulator with a sample pager and uses it as the
/// board, with the window title and the status line marked so that it
/// cannot be taken for a real pager.

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <string>

#include "app/startup_options.h"
#include "core/notifier.h"

class QAction;
class QLabel;

namespace zrv::link {
class PracticeBoard;
}
namespace zrv::link::ui {
class ConnectionCheckWindow;
}

namespace zrv::app {

class MainWindow;

class ConnectionCommands : public QObject {
    Q_OBJECT
public:
    /// Adds the two menu items to \p window and follows its board session;
    /// with \p options.practice the practice board starts at once.
    ConnectionCommands(MainWindow& window, const StartupOptions& options);
    ~ConnectionCommands() override;

    /// Help > Check Board Connection: the check's window, modal.
    void checkBoardConnection();
    /// Pager > Practice With a Simulated Pager. False (after saying why)
    /// when the simulator could not be started.
    bool practiseWithSimulatedPager();

    QAction& checkAction() const { return *check_; }
    QAction& practiceAction() const { return *practice_; }
    link::ui::ConnectionCheckWindow& checkWindow() const { return *checkWindow_; }
    /// The practice board while it runs, else nullptr.
    const link::PracticeBoard* practiceBoard() const { return board_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string text(const Message& message) const;
    void updateTexts();
    /// After the Pager menu has shown the board's state: the practice
    /// board's own text, or why no board was found.
    void showBoardState(bool connected);
    /// The start-up probe found no board for a reason the check explains.
    void offerCheck();
    /// Shows \p full in the status line, shortened to its width.
    void showStatus(const QString& full, const QString& toolTip);
    void fitStatus();
    void markWindowTitle();

    MainWindow& window_;
    QLabel& status_;
    QAction* check_ = nullptr;
    QAction* practice_ = nullptr;
    std::unique_ptr<link::ui::ConnectionCheckWindow> checkWindow_;
    std::unique_ptr<link::PracticeBoard> board_;
    std::filesystem::path simulator_;
    QString fullStatus_;   ///< the status text before it was shortened
    QString shownStatus_;  ///< what the status line shows of it
};

}  // namespace zrv::app
