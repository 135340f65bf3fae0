#include "editors/help_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
#include <QVBoxLayout>
#include <vector>

namespace zrv {

namespace {

/// The widest a picture is shown: on its own, and in a cell of a table of
/// pictures (three of the main window's pages side by side).
constexpr int kPictureWidth = 760;
constexpr int kPictureInTableWidth = 300;

const Message kTitle{"frmHelp", "User Guide"};
const Message kFindHint{"MsgGuideFindHint", "Find in the guide (Ctrl+F)"};
const Message kNotFound{"MsgGuideNotFound", "Not found"};
const Message kContents{"btnGuideContents", "Contents"};

}  // namespace

QString HeadingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c == QLatin1Char(' '))
            anchor += QLatin1Char('-');
    }
    return anchor;
}

HelpWindow::HelpWindow(std::function<std::string(const Message&)> text, QWidget* parent)
    : QDialog(parent), text_(std::move(text)) {
    setObjectName(QStringLiteral("frmHelp"));
    setSizeGripEnabled(true);
    // A window of its own beside the main window: it may stay open while
    // the user works, and it offers to be maximised.
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(960, 720);

    auto* contents = new QPushButton(this);
    contents->setObjectName(QStringLiteral("btnGuideContents"));
    contents->setAutoDefault(false);
    find_ = new QLineEdit(this);
    find_->setObjectName(QStringLiteral("edtGuideFind"));
    find_->setClearButtonEnabled(true);
    find_->installEventFilter(this);
    findState_ = new QLabel(this);
    findState_->setObjectName(QStringLiteral("lblGuideFind"));
    // Room for "Not found", so the find box keeps its width when it appears.
    findState_->setMinimumWidth(findState_->fontMetrics().horizontalAdvance(QStringLiteral("Nicht gefunden")) + 8);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtGuide"));
    browser_->setOpenLinks(false);  // followLink decides where a link goes

    auto* bar = new QHBoxLayout;
    bar->addWidget(contents);
    bar->addWidget(find_, 1);
    bar->addWidget(findState_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);

    connect(contents, &QPushButton::clicked, this, [this] { showSection({}); });
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(find_, &QLineEdit::textEdited, findState_, &QLabel::clear);
    auto* focusFind = new QShortcut(QKeySequence::Find, this);
    connect(focusFind, &QShortcut::activated, this, [this] {
        find_->setFocus(Qt::ShortcutFocusReason);
        find_->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, [this] { findNext(); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { findNext(true); });
    applyTexts();
}

HelpWindow::~HelpWindow() = default;

std::string HelpWindow::textOf(const Message& message) const {
    return text_ ? text_(message) : message.english;
}

void HelpWindow::applyTexts() {
    setWindowTitle(QString::fromStdString(textOf(kTitle)));
    find_->setPlaceholderText(QString::fromStdString(textOf(kFindHint)));
    if (auto* contents = findChild<QPushButton*>(QStringLiteral("btnGuideContents")))
        contents->setText(QString::fromStdString(textOf(kContents)));
    if (!findState_->text().isEmpty()) findState_->setText(QString::fromStdString(textOf(kNotFound)));
}

bool HelpWindow::load(const std::filesystem::path& file, std::string& error) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        error = file.string() + ": " + in.errorString().toStdString();
        return false;
    }
    const QString markdown = QString::fromUtf8(in.readAll());
    const std::filesystem::path folder = file.parent_path();
    const QString folderText = QString::fromStdString(folder.string());
    // The pictures are named relative to the guide.
    browser_->setSearchPaths({folderText});
    QTextDocument* document = browser_->document();
    document->setUndoRedoEnabled(false);  // naming the headings is no edit to undo
    document->setBaseUrl(QUrl::fromLocalFile(folderText + QLatin1Char('/')));
    document->setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    nameHeadings(*document);
    fitPictures(*document, folder);
    file_ = file;
    findState_->clear();
    return true;
}

void HelpWindow::nameHeadings(QTextDocument& document) {
    // Each heading becomes the anchor the guide's links and the program's
    // F1 name; a repeated heading gets "-1", "-2", ... as on the web.
    anchors_.clear();
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty()) continue;
        const QString base = HeadingAnchor(block.text());
        QString anchor = base;
        for (int n = 1; anchors_.contains(anchor); ++n) anchor = base + QLatin1Char('-') + QString::number(n);
        anchors_ << anchor;
        cursor.setPosition(block.position());
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        QTextCharFormat named;
        named.setAnchor(true);
        named.setAnchorNames({anchor});
        cursor.mergeCharFormat(named);
    }
}

void HelpWindow::fitPictures(QTextDocument& document, const std::filesystem::path& folder) {
    // The screenshots are taken at the window's design size: shown whole,
    // three of them would make the guide wider than any screen.
    struct Picture {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString path = QString::fromStdString((folder / format.name().toStdString()).string());
            const QSize size = QImageReader(path).size();
            const bool inTable = QTextCursor(block).currentTable() != nullptr;
            const int widest = inTable ? kPictureInTableWidth : kPictureWidth;
            if (!size.isValid() || size.width() <= widest) continue;
            format.setWidth(widest);
            format.setHeight(static_cast<double>(size.height()) * widest / size.width());
            pictures.push_back({fragment.position(), fragment.length(), format});
        }
    }
    QTextCursor cursor(&document);
    for (const Picture& p : pictures) {
        cursor.setPosition(p.position);
        cursor.setPosition(p.position + p.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(p.format);
    }
}

void HelpWindow::showSection(const QString& anchor) {
    if (anchor.isEmpty() || !anchors_.contains(anchor)) {
        browser_->verticalScrollBar()->setValue(0);
        return;
    }
    browser_->scrollToAnchor(anchor);
}

void HelpWindow::followLink(const QUrl& url) {
    if (url.scheme().isEmpty() && url.path().isEmpty()) {
        showSection(url.fragment());  // a section of the guide
        return;
    }
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
        url.scheme() == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

bool HelpWindow::findNext(bool backward) {
    const QString wanted = find_->text();
    if (wanted.isEmpty()) return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(wanted, flags);
    if (!found) {
        // From the other end again.
        QTextCursor start(browser_->document());
        start.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(start);
        found = browser_->find(wanted, flags);
    }
    findState_->setText(found ? QString() : QString::fromStdString(textOf(kNotFound)));
    return found;
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == find_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zrv
