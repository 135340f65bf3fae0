#include "i18n/ui/text_editor_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>

#include "ui/kit/accessible_names.h"
#include "ui/kit/window_setup.h"
#include "ui_text_editor_window.h"

namespace zrv::i18n::ui {

namespace {

constexpr int kColumnWidths[] = {47, 211, 239, 222};
constexpr int kCurrentColumn = 3;

QString LangFilter() { return QStringLiteral("Lang files (*.lang)"); }
QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

/// A cell of the grid; only "Current" can be edited.
QTableWidgetItem* Cell(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

}  // namespace

TextEditorWindow::TextEditorWindow(MessageCatalogue& catalogue, Notifier& notifier, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmLang>()), model_(catalogue), notifier_(notifier) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, kTextEditorWindow);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowState(Qt::WindowNoState);
    for (int c = 0; c < 4; ++c) ui_->StringGrid1->setColumnWidth(c, kColumnWidths[c]);
    ui_->StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ui_->StringGrid1->horizontalHeader()->setStretchLastSection(true);
    rescaler_.remember(this);

    connect(ui_->btnLoad, &QPushButton::clicked, this, &TextEditorWindow::btnLoadClick);
    connect(ui_->btnSave, &QPushButton::clicked, this, &TextEditorWindow::btnSaveClick);
    connect(ui_->btnApply, &QPushButton::clicked, this, &TextEditorWindow::btnApplyClick);
    connect(ui_->btnLoadDef, &QPushButton::clicked, this, &TextEditorWindow::btnLoadDefClick);
    connect(ui_->edtSearch, &QLineEdit::textChanged, this, &TextEditorWindow::filterRows);
    connect(ui_->StringGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_ || item->column() != kCurrentColumn) return;
        model_.setCurrent(static_cast<std::size_t>(item->row()), item->text().toStdString());
        edited_ = true;
    });
}

TextEditorWindow::~TextEditorWindow() = default;

void TextEditorWindow::showEvent(QShowEvent* event) {
    // Centred on the window it is opened from.
    if (QWidget* owner = QApplication::activeWindow(); owner && owner != this)
        move(owner->geometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

void TextEditorWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    rescaler_.apply(size());
}

void TextEditorWindow::FormShow() {
    setWindowTitle(Text(WindowCaptionText(model_.catalogue(), kTextEditorWindow)));
    model_.Fill(model_.catalogue().currentLanguage());
    showRows();
}

QString TextEditorWindow::programFolder() const {
    return QString::fromStdString(model_.catalogue().programFolder().string());
}

void TextEditorWindow::showRows() {
    const TextEditorCaptions& c = model_.captions();
    setWindowTitle(Text(c.window));
    ui_->btnLoad->setText(Text(c.load));
    ui_->btnApply->setText(Text(c.apply));
    ui_->btnSave->setText(Text(c.save));
    ui_->btnLoadDef->setText(Text(c.loadDefault));
    kit::NameControls(this, [this](const std::string& key, const std::string& english) {
        return model_.catalogue().LookupMessage(key, english);
    });
    QTableWidget& grid = *ui_->StringGrid1;
    grid.setHorizontalHeaderLabels({Text(c.no), Text(c.command), Text(c.original), Text(c.current)});

    filling_ = true;
    grid.setUpdatesEnabled(false);
    const auto& rows = model_.rows();
    grid.clearContents();
    grid.setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const TextRow& row = rows[static_cast<std::size_t>(r)];
        grid.setItem(r, 0, Cell(QString::number(r + 1), false));
        grid.setItem(r, 1, Cell(Text(row.key), false));
        grid.setItem(r, 2, Cell(Text(row.original), false));
        grid.setItem(r, 3, Cell(Text(row.current), true));
    }
    grid.setUpdatesEnabled(true);
    filling_ = false;
    edited_ = false;
    filterRows(ui_->edtSearch->text());
}

void TextEditorWindow::filterRows(const QString& text) {
    QTableWidget& grid = *ui_->StringGrid1;
    const QString wanted = text.trimmed();
    for (int r = 0; r < grid.rowCount(); ++r) {
        bool match = wanted.isEmpty();
        for (int c = 1; c < 4 && !match; ++c)
            if (const QTableWidgetItem* item = grid.item(r, c))
                match = item->text().contains(wanted, Qt::CaseInsensitive);
        grid.setRowHidden(r, !match);
    }
}

void TextEditorWindow::btnLoadClick() {
    const QString chosen = openDialog ? openDialog(this, programFolder())
                                      : QFileDialog::getOpenFileName(this, QString(), programFolder(), LangFilter());
    if (chosen.isEmpty()) return;
    if (model_.Load(chosen.toStdString(), notifier_)) showRows();
}

void TextEditorWindow::btnSaveClick() {
    QString chosen;
    if (saveDialog) {
        chosen = saveDialog(this, programFolder());
    } else {
        QFileDialog dialog(this, QString(), programFolder(), LangFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("lang"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().front();
    }
    if (chosen.isEmpty()) return;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".lang");
    if (!model_.SaveAs(chosen.toStdString())) reportSaveError();
}

void TextEditorWindow::btnApplyClick() {
    if (!model_.Apply()) {
        reportSaveError();  // the texts stay in the grid for another try
        return;
    }
    edited_ = false;
    accept();
}

void TextEditorWindow::btnLoadDefClick() {
    // Every translation in the file is replaced: only when the user agrees.
    if (!notifier_.ask(LoadDefaultQuestion())) return;
    // A failed write has been reported and left everything as it was: the
    // window stays open with its rows.
    if (model_.LoadDefault(notifier_) == TextEditorModel::LoadDefaultResult::WriteFailed) return;
    edited_ = false;
    accept();
}

void TextEditorWindow::reject() {
    if (edited_ && !notifier_.ask(Message{"Msg78", "Discard the changes?", MsgIcon::Question, {}, "UI Text Edit"}))
        return;
    edited_ = false;
    QDialog::reject();
}

void TextEditorWindow::reportSaveError() {
    notifier_.show(Message{"Msg57", "Save Error !", MsgIcon::Exclamation, {}});
}

}  // namespace zrv::i18n::ui
