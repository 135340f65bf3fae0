#include "app/gui_notifier.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "i18n/message_catalogue.h"

namespace zrv::app {

namespace {
QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Exclamation:
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Error: return QMessageBox::Critical;
        case MsgIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::Warning;
}
/// Room a title bar takes beside its text: the icon and the window buttons.
constexpr int kTitleBarRoom = 160;

}  // namespace

void GuiNotifier::fillBox(QMessageBox& box, const Message& message) const {
    box.setIcon(IconOf(message.icon));
    const QString caption = QString::fromStdString(message.boxCaption());
    box.setWindowTitle(caption);
    box.setText(text(message));
    box.setTextFormat(Qt::PlainText);  // a file name or a translation is shown as written
    // A short message makes a narrow box whose title bar would cut the
    // caption ("ZR…K"): the box is made wide enough to show it whole.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(caption) + kTitleBarRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

QString GuiNotifier::text(const Message& message) const {
    if (!catalogue_) return QString::fromStdString(message.english);
    return QString::fromStdString(i18n::MessageText(*catalogue_, message));
}

void GuiNotifier::show(const Message& message) {
    QMessageBox box(parent_);
    fillBox(box, message);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool GuiNotifier::ask(const Message& message) {
    QMessageBox box(parent_);
    fillBox(box, message);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Notifier::SaveChoice GuiNotifier::askToSave(const Message& message) {
    QMessageBox box(parent_);
    fillBox(box, message);
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save: return SaveChoice::Save;
        case QMessageBox::Discard: return SaveChoice::Discard;
        default: return SaveChoice::Cancel;
    }
}

}  // namespace zrv::app
