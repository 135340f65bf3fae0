#pragma once
/// \file
/// The user guide window `frmHelp` (Help > User Guide, F1): the guide's
/// Markdown shown with its pictures, every heading an anchor named as the
/// guide's own links name it ("The programming log" is `#the-programming-log`),
/// a link inside the guide followed in the window, one to a web address
/// opened in the browser, and a find box (Ctrl+F; Enter or F3 finds the next
/// place, Shift+Enter or Shift+F3 the one before, from the end again after
/// the last). Which section a page or a window opens is its owner's.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>

#include "core/notifier.h"

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTextDocument;

namespace zrv {

/// The anchor a heading gets, as the guide's links write it: lower case,
/// punctuation dropped, each space a hyphen ("Freq. & Codes" is
/// "freq--codes").
QString HeadingAnchor(const QString& heading);

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    /// \p text gives a message in the current language (empty: its English text).
    explicit HelpWindow(std::function<std::string(const Message&)> text = {}, QWidget* parent = nullptr);
    ~HelpWindow() override;

    /// Reads the guide \p file (UTF-8 Markdown, its pictures beside it).
    /// False, with the reason in \p error, when it cannot be read; the
    /// window then keeps what it showed.
    bool load(const std::filesystem::path& file, std::string& error);
    /// The guide shown (empty before the first load).
    const std::filesystem::path& file() const { return file_; }
    /// Scrolls the heading \p anchor to the top; an empty or unknown anchor
    /// shows the guide from its start.
    void showSection(const QString& anchor);
    /// The anchors of the guide's headings, in their order.
    const QStringList& anchors() const { return anchors_; }
    /// Finds the find box's text after (or, \p backward, before) the
    /// selection, starting over at the other end; false when the guide has
    /// no such text.
    bool findNext(bool backward = false);
    /// The texts in the current language.
    void applyTexts();

    QTextBrowser& browser() { return *browser_; }
    QLineEdit& findBox() { return *find_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string textOf(const Message& message) const;
    void followLink(const QUrl& url);
    void nameHeadings(QTextDocument& document);
    void fitPictures(QTextDocument& document, const std::filesystem::path& folder);

    std::function<std::string(const Message&)> text_;
    QTextBrowser* browser_ = nullptr;
    QLineEdit* find_ = nullptr;
    QLabel* findState_ = nullptr;
    std::filesystem::path file_;
    QStringList anchors_;
};

}  // namespace zrv
