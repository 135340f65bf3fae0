#pragma once
/// \file
/// The connection check window (Help > Check Board Connection): the
/// findings of the check, each with its fix and the command that does it,
/// the check run again on request, and the report copied for a support
/// request. The check itself is the link's (link/connection_check.h), run
/// through the board session; the window only shows it.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/connection_check.h"

namespace Ui {
class frmCheck;
}

namespace zrv::link::ui {

/// What the window needs from the program.
struct ConnectionCheckHooks {
    /// Runs the check (the port held, the board probed) and returns the findings.
    std::function<std::vector<Finding>()> check;
    /// The text of a message in the current language (default: its English text).
    std::function<std::string(const Message&)> text;
};

class ConnectionCheckWindow : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionCheckWindow(QWidget* parent = nullptr);
    ~ConnectionCheckWindow() override;

    void setHooks(ConnectionCheckHooks hooks) { hooks_ = std::move(hooks); }
    /// Shows the window modally; the check runs as soon as it is up.
    void run();
    /// Runs the check now and shows its findings ("Check Again").
    void checkNow();
    /// True while the check runs.
    bool checking() const { return checking_; }
    /// The findings shown.
    const std::vector<Finding>& findings() const { return findings_; }
    /// The findings as text (what "Copy Report" puts on the clipboard).
    std::string reportText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    std::string textOf(const Message& message) const;
    void applyTexts();
    void showFindings();
    void copyReport();

    std::unique_ptr<Ui::frmCheck> ui_;
    ConnectionCheckHooks hooks_;
    std::vector<Finding> findings_;
    bool checking_ = false;
    bool started_ = false;
};

}  // namespace zrv::link::ui
