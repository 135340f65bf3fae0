#pragma once
/// \file
/// Help > User Guide and F1: the user guide in a window of its own, the
/// menu at its contents. F1 on
/// the main window opens the section of the page in front, F1 in a window
/// beside it (the programming window, the OTA window, the log, ...) that
/// window's section, each from one table. A guide that cannot be read is
/// said in a message and nothing else happens.

#include <QObject>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <span>

class QAction;

namespace zrv {
class HelpWindow;
}

namespace zrv::app {

class MainWindow;

/// A page panel or a window, by its objectName, and the anchor of its
/// section in the guide.
struct HelpSection {
    const char* name;
    const char* anchor;
};
/// Every page and window that has a section of the guide.
std::span<const HelpSection> HelpSections();
/// The anchor of \p name's section, or "" (the guide's start).
QString SectionOf(const QString& name);

class HelpCommands : public QObject {
    Q_OBJECT
public:
    /// Adds Help > User Guide to \p main's Help menu and answers F1 in every
    /// window of the program; \p guide is the guide's Markdown file.
    HelpCommands(MainWindow& main, std::filesystem::path guide);
    ~HelpCommands() override;

    /// Help > User Guide.
    QAction& guideAction() { return *guideAction_; }
    /// Shows the guide at \p anchor ("" its start), read anew when the file
    /// changed; a guide that cannot be read is said in a message.
    void showGuide(const QString& anchor);
    /// F1 in \p window: its section, or for the main window the page's in front.
    void showHelpFor(QWidget* window);
    /// The guide's window, once it was shown (null before).
    HelpWindow* window() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateTexts();

    MainWindow& main_;
    std::filesystem::path guide_;
    QAction* guideAction_ = nullptr;
    QPointer<HelpWindow> window_;
    std::filesystem::file_time_type loadedTime_{};
};

}  // namespace zrv::app
