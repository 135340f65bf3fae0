#pragma once
/// \file
/// The main window's language: the Language menu, the captions of the
/// current language on the window and its dialogs, the caption export of
/// the Lang button, and the capcode page selectors whose entries come from
/// the language file.

#include <QObject>
#include <string>

class QDialog;
class QWidget;
class QMainWindow;

namespace zrv {
class MainForm;
}
namespace zrv::i18n {
class MessageCatalogue;
struct WindowCaption;
}  // namespace zrv::i18n

namespace zrv::app {

class CompanionWindows;

class LanguageCommands : public QObject {
    Q_OBJECT
public:
    /// Connects the Language menu and the Lang button of \p window.
    LanguageCommands(QMainWindow& window, MainForm& form, i18n::MessageCatalogue& catalogue);

    /// The windows whose captions the Lang button exports beside the main window's.
    void setCompanions(CompanionWindows* companions) { companions_ = companions; }
    /// The start-up language of the language file; a problem with the file
    /// is said once and the designed English texts stay.
    void startUp();

    void mnuEnglishClick();
    void mnuGermanClick();
    /// Writes the captions of every window to the program folder's export file.
    void btnINI_LangClick();
    /// Applies the captions of the current language to the main window
    /// (after the UI text editor's Apply, Load and Load Default), with the
    /// language marks.
    void applyCaptions();

    /// The catalogue's text for \p key, \p fallback without one.
    std::string text(const char* key, const std::string& fallback) const;
    /// Applies the current language to \p window and its caption.
    void localise(QDialog& window, const i18n::WindowCaption& caption);
    /// Rebuilds the capcode, source and music page selectors for the
    /// document's capcode count, in the current language; page 1 in front.
    void rebuildCapcodePageSelectors();

signals:
    /// The captions of a language were put on the main window.
    void captionsApplied();

private:
    void runLanguageAction(const std::string& language);
    /// The language marks, the shared state and the page-numbered texts
    /// follow the catalogue's current language.
    void followLanguage();
    /// Gives the controls of \p window their spoken names in the current language.
    void nameControls(QWidget& window) const;

    QMainWindow& window_;
    MainForm& form_;
    i18n::MessageCatalogue& catalogue_;
    CompanionWindows* companions_ = nullptr;
};

}  // namespace zrv::app
