#include "editors/key_filter.h"

#include <QKeyEvent>

#include "editors/main_form.h"

namespace zrv {

namespace {

/// True for a key that types no character of its own: editing keys, the
/// clipboard and undo shortcuts. Qt gives Backspace the text 0x08, Delete
/// 0x7F and Ctrl+letter the control code of the letter (or the letter
/// itself on some platforms); arrows and Home/End have no text.
bool TypesNoCharacter(const QKeyEvent& key) {
    if (key.text().isEmpty()) return true;
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return true;
    for (const char32_t c : key.text().toUcs4())
        if (c >= 0x20 && c != 0x7F) return false;
    return true;
}

class TypedCharacterFilter : public QObject {
public:
    TypedCharacterFilter(QLineEdit& box, MainForm& form, std::function<Outcome(char32_t)> rule,
                         std::function<void()> refused)
        : QObject(&box), form_(form), rule_(std::move(rule)), refused_(std::move(refused)) {
        box.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != parent() || event->type() != QEvent::KeyPress) return false;
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
            form_.commitEditing();
            return true;
        }
        if (TypesNoCharacter(key)) return false;
        for (const char32_t c : key.text().toUcs4()) {
            const Outcome outcome = rule_(c);
            if (outcome.ok) continue;
            outcome.Report(form_.notifier());
            if (refused_) refused_();
            return true;
        }
        return false;
    }

private:
    MainForm& form_;
    std::function<Outcome(char32_t)> rule_;
    std::function<void()> refused_;
};

}  // namespace

void FilterTypedCharacters(QLineEdit& box, MainForm& form, std::function<Outcome(char32_t)> rule,
                           std::function<void()> refused) {
    new TypedCharacterFilter(box, form, std::move(rule), std::move(refused));
}

}  // namespace zrv
