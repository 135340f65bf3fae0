#include "app/edit_history.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QUndoCommand>

#include "core/document.h"
#include "core/field_table.h"
#include "editors/main_form.h"

namespace zrv::app {

namespace {

/// One step: the runs of bytes one change made. Pushing it runs redo(),
/// which then has nothing to do: the change is already in the image.
class ImageStep : public QUndoCommand {
public:
    ImageStep(EditHistory& history, std::vector<EditHistory::Run> runs, const QString& name)
        : QUndoCommand(name), history_(history), runs_(std::move(runs)) {}
    void undo() override { history_.apply(runs_, false); }
    void redo() override {
        if (pushed_) history_.apply(runs_, true);
        pushed_ = true;
    }

private:
    EditHistory& history_;
    std::vector<EditHistory::Run> runs_;
    bool pushed_ = false;
};

}  // namespace

EditHistory::EditHistory(QMainWindow& window, MainForm& form) : QObject(&window), form_(form) {
    // After the File menu; unnamed, so the language file's captions and
    // the caption export leave it to this class.
    menu_ = new QMenu(&window);
    QMenuBar* bar = window.menuBar();
    const auto menus = bar->actions();
    bar->insertMenu(menus.size() > 1 ? menus[1] : nullptr, menu_);
    undo_ = menu_->addAction(QString());
    undo_->setShortcuts({QKeySequence::Undo});
    redo_ = menu_->addAction(QString());
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // No step is taken back or again while a transfer holds the document.
    connect(undo_, &QAction::triggered, this, [this] {
        if (!form_.document().held()) stack_.undo();
    });
    connect(redo_, &QAction::triggered, this, [this] {
        if (!form_.document().held()) stack_.redo();
    });
    connect(&stack_, &QUndoStack::indexChanged, this, &EditHistory::updateTexts);
    connect(menu_, &QMenu::aboutToShow, this, &EditHistory::updateTexts);
    form_.document().listen([this](const DocumentChange& change) { heard(change); });
    updateTexts();
}

void EditHistory::heard(const DocumentChange& change) {
    if (applying_) return;
    switch (change.origin) {
        case ChangeOrigin::Open: stack_.clear(); return;
        case ChangeOrigin::Save:
        case ChangeOrigin::Replace: return;
        default: break;
    }
    if (change.runs.empty()) return;
    std::vector<Run> runs;
    for (const ByteRun& r : change.runs) {
        const auto was = change.before->range(r.offset, r.length);
        const auto is = change.after->range(r.offset, r.length);
        runs.push_back({r.offset, {was.begin(), was.end()}, {is.begin(), is.end()}});
    }
    const QString name = QString::fromStdString(ChangeName(*change.before, *change.after));
    stack_.push(new ImageStep(*this, std::move(runs), name));
}

void EditHistory::apply(const std::vector<Run>& runs, bool forward) {
    applying_ = true;
    Document& document = form_.document();
    ConfigImage image = document.image();
    for (const Run& r : runs) image.write(r.offset, forward ? r.after : r.before);
    document.replace(image, ChangeOrigin::Replace);
    // The window shows the step's image; what its refresh stores belongs to the step.
    form_.refreshAll();
    document.noteChanges(ChangeOrigin::Replace);
    applying_ = false;
}

void EditHistory::updateTexts() {
    menu_->setTitle(QString::fromStdString(form_.catalogueText("MenuEdit", "&Edit")));
    const auto label = [this](const char* key, const char* english, const QString& step) {
        const QString base = QString::fromStdString(form_.catalogueText(key, english));
        return step.isEmpty() ? base : base + QLatin1Char(' ') + step;
    };
    undo_->setText(label("MenuUndo", "Undo", stack_.undoText()));
    redo_->setText(label("MenuRedo", "Redo", stack_.redoText()));
    undo_->setEnabled(stack_.canUndo());
    redo_->setEnabled(stack_.canRedo());
}

}  // namespace zrv::app
