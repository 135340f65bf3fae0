#pragma once
/// \file
/// What the main window offers the editor modules: the image, the shared
/// state, the control registry, the named controls and the shared steps of
/// the window (refresh, text-field sizing, committing the field being edited).
/// The window implements it; editors only see this.

#include <QAction>
#include <QString>
#include <QWidget>
#include <stdexcept>

#include "core/board_facts.h"
#include "core/document.h"
#include "core/image.h"
#include "core/notifier.h"
#include "editors/control_names.h"
#include "editors/control_registry.h"
#include "editors/editor_module.h"
#include "editors/form_state.h"

class QDialog;

namespace zrv::i18n {
struct WindowCaption;
}

namespace zrv {

class FunctionBitWindow;
class AlertWindow;

/// The text of the error a failed control lookup throws: the name asked for,
/// the class asked for, and what was found instead (nothing, or another class).
std::string MissingControlText(const QString& what, const char* wantedClass, const QObject* found);

class MainForm {
public:
    virtual ~MainForm() = default;

    /// The document's image: what an editor stores into it is noted as a
    /// change once the user's action has been handled.
    virtual ConfigImage& image() = 0;
    /// The configuration being edited, its file and its changes.
    virtual Document& document() = 0;
    virtual FormState& state() = 0;
    virtual const ControlRegistry& registry() const = 0;
    virtual Notifier& notifier() = 0;
    /// The main window itself (parent of dialogs).
    virtual QWidget* window() = 0;

    /// The control named \p name on the main window or its pages, or nullptr.
    /// Editors use require(); this is for code that probes.
    virtual QWidget* control(const QString& name) const = 0;
    template <class T>
    T* find(const QString& name) const {
        return qobject_cast<T*>(control(name));
    }
    /// The menu item (action) named \p name, e.g. "mnuWrite", or nullptr.
    virtual QAction* action(const QString& name) const = 0;

    /// The control of a typed name (editors/control_names.h). Throws
    /// std::logic_error naming the control and its class when the window has
    /// no such control or it is of another class.
    template <class T>
    T& require(ctl::Name<T> name) const {
        return require<T>(QString::fromLatin1(name.text));
    }
    template <class T>
    T& require(const QString& name) const {
        QWidget* w = control(name);
        if (auto* t = qobject_cast<T*>(w)) return *t;
        throw std::logic_error(MissingControlText(name, T::staticMetaObject.className(), w));
    }
    /// The member \p tag of a registry family, with the same guarantee.
    template <class T>
    T& require(ctl::Family<T> family, int tag) const {
        return require<T>(QString::fromLatin1(family.prefix), tag);
    }
    template <class T>
    T& require(const QString& family, int tag) const {
        QWidget* w = registry().at(family, tag);
        if (auto* t = qobject_cast<T*>(w)) return *t;
        throw std::logic_error(MissingControlText(family + QString::number(tag) + QStringLiteral(" (Tag ") +
                                                      QString::number(tag) + QLatin1Char(')'),
                                                  T::staticMetaObject.className(), w));
    }
    /// The menu item named \p name; throws std::logic_error when it is missing.
    QAction& requireAction(const QString& name) const {
        if (QAction* a = action(name)) return *a;
        throw std::logic_error(MissingControlText(name, "QAction", nullptr));
    }

    /// Rebuilds every control from the image.
    virtual void refreshAll() = 0;
    /// The enabling that follows the option boxes, as the full refresh
    /// applies it after the hint-bound controls (every module's
    /// BoundEnabling refresher).
    virtual void applyDependentEnablingFirstPart() = 0;
    /// Every module's Modify-mode enabling rules.
    virtual void applyModifyModeRules() = 0;
    /// Width and maximum length of the prompt and source-text edits.
    virtual void sizeTextFields() = 0;
    /// Rebuilds cboCCPage, cboSrcPage and cboMTPage for the capcode count.
    virtual void rebuildCapcodePageSelectors() = 0;
    /// Moves the focus to the focus sink, so the edit being typed in
    /// commits its value through its exit handler.
    virtual void commitEditing() = 0;
    /// True while Write mode locks the editors.
    virtual bool writeMode() const = 0;
    /// Shows a text in the status line.
    virtual void setStatus(const QString& text) = 0;
    /// Runs the refreshers of every module at \p slot (e.g. the capcode
    /// summaries after the function bit window stored a change).
    virtual void refreshSlot(RefreshSlot slot) = 0;

    /// The board as the editors see it: the firmware flag the frequency
    /// check reads and the auto-increase the capcode page sets.
    virtual BoardFacts& board() = 0;
    /// The catalogue text of \p key in the current language (UTF-8), or
    /// \p fallback when the language file has none.
    virtual std::string catalogueText(const char* key, const std::string& fallback) const = 0;
    /// Gives \p window its caption (key \p caption) and the captions of its
    /// controls in the current language, as it is shown.
    virtual void localise(QDialog& window, const i18n::WindowCaption& caption) = 0;
    /// The companion windows of the "Freq. && Codes" page. Throw
    /// std::logic_error when the window was not created.
    virtual FunctionBitWindow& functionBitWindow() = 0;
    virtual AlertWindow& alertWindow() = 0;
};

}  // namespace zrv
