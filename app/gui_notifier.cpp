#include "app/gui_notifier.h"

#include <QMessageBox>

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
}  // namespace

QString GuiNotifier::text(const Message& message) const {
    if (!catalogue_) return QString::fromStdString(message.english);
    return QString::fromStdString(i18n::MessageText(*catalogue_, message));
}

void GuiNotifier::show(const Message& message) {
    QMessageBox box(IconOf(message.icon), QString::fromStdString(message.boxCaption()),
                    text(message), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);  // a file name or a translation is shown as written
    box.exec();
}

bool GuiNotifier::ask(const Message& message) {
    QMessageBox box(IconOf(message.icon), QString::fromStdString(message.boxCaption()),
                    text(message), QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

Notifier::SaveChoice GuiNotifier::askToSave(const Message& message) {
    QMessageBox box(IconOf(message.icon), QString::fromStdString(message.boxCaption()), text(message),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save: return SaveChoice::Save;
        case QMessageBox::Discard: return SaveChoice::Discard;
        default: return SaveChoice::Cancel;
    }
}

}  // namespace zrv::app
