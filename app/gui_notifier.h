#pragma once
/// \file
/// The window's Notifier: a modal message box with the message's caption
/// ("ZR-V41K" unless it names another), its icon and its text from the
/// message catalogue.

#include <QWidget>

class QMessageBox;

#include "core/notifier.h"

namespace zrv::i18n {
class MessageCatalogue;
}

namespace zrv::app {

class GuiNotifier : public Notifier {
public:
    /// \p catalogue may be null (the English texts are then shown).
    GuiNotifier(QWidget* parent, const i18n::MessageCatalogue* catalogue)
        : parent_(parent), catalogue_(catalogue) {}
    void show(const Message& message) override;
    bool ask(const Message& message) override;
    SaveChoice askToSave(const Message& message) override;

    /// The text the box shows for \p message.
    QString text(const Message& message) const;
    /// Gives \p box the icon, caption and text of \p message, and a width
    /// that shows the caption whole in the title bar.
    void fillBox(QMessageBox& box, const Message& message) const;

private:
    QWidget* parent_;
    const i18n::MessageCatalogue* catalogue_;
};

}  // namespace zrv::app
