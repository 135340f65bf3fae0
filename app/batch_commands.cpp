#include "app/batch_commands.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <stdexcept>

#include "app/main_window.h"
#include "i18n/message_catalogue.h"
#include "link/board_session.h"
#include "link/ui/batch_window.h"

namespace zrv::app {

namespace {

/// A file dialog of the window: the given one, or Qt's starting in the
/// folder File > Open uses.
std::function<QString(QWidget*, const QString&)> FileChooser(MainWindow& main, PathDialog given, bool save) {
    return [&main, given = std::move(given), save](QWidget* parent, const QString& filter) {
        const QString folder = main.documentCommands().dialogFolder();
        if (given) return given(parent, folder);
        return save ? QFileDialog::getSaveFileName(parent, QString(), folder, filter)
                    : QFileDialog::getOpenFileName(parent, QString(), folder, filter);
    };
}

void OpenBatchWindow(MainWindow& main, PathDialog openDialog, PathDialog saveDialog, const BatchLog& log) {
    link::BoardSession& board = main.boardSession();
    if (board.portInUse() || !board.boardPort()) return;  // as the other Pager menu items
    main.commitEditing();  // the field being edited stores its value first: it is the template
    QCoreApplication::processEvents();
    auto* window = main.findChild<link::ui::BatchWindow*>(QString::fromLatin1(link::ui::kBatchWindow.key));
    if (!window) window = new link::ui::BatchWindow(board, main.notifier(), &main);
    link::ui::BatchHooks hooks;
    hooks.text = [&main](const Message& m) { return i18n::MessageText(main.catalogue(), m); };
    hooks.localise = [&main](QDialog& w) { main.localise(w, link::ui::kBatchWindow); };
    hooks.openFile = FileChooser(main, std::move(openDialog), false);
    hooks.saveFile = FileChooser(main, std::move(saveDialog), true);
    // The status line follows the board while the window is open, as Timer1 makes it do otherwise.
    hooks.pollBoard = [&board] { board.pollWhileHeld(); };
    hooks.rowStarting = log.annotate;
    hooks.history = log.history;
    window->setHooks(std::move(hooks));

    const Document& document = main.document();
    const std::string name = document.fileName().filename().string();
    const link::ui::BatchTemplate documentTemplate{QString::fromStdString(name.empty() ? "untitled" : name),
                                                    document.image(), document.capcodeCount()};
    board.beginPortUse();
    window->run(documentTemplate);
    board.endPortUse();
}

}  // namespace

void ConnectBatchJob(MainWindow& main, PathDialog openDialog, PathDialog saveDialog, BatchLog log) {
    auto* pager = main.findChild<QMenu*>(QStringLiteral("mnuPager"));
    QAction* verify = main.action(QStringLiteral("mnuVerfy"));
    if (!pager || !verify) throw std::logic_error("the Pager menu has no Verfy item for Batch Job... to follow");
    auto* entry = new QAction(&main);
    entry->setObjectName(QStringLiteral("mnuBatchJob"));
    entry->setProperty("designedClass", QStringLiteral("TMenuItem"));
    // The start-up language has been applied already: the caption is read now,
    // and every later change of language finds the item by its name.
    entry->setText(QString::fromStdString(main.catalogueText("mnuBatchJob", "Batch Job...")));
    const QList<QAction*> items = pager->actions();
    const qsizetype at = items.indexOf(verify);
    pager->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, entry);
    QObject::connect(entry, &QAction::triggered, &main, [&main, openDialog, saveDialog, log] {
        OpenBatchWindow(main, openDialog, saveDialog, log);
    });
}

}  // namespace zrv::app
