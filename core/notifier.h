#pragma once
/// \file
/// How the logic reaches the user: message boxes, Yes/No questions and the
/// "process pending events" step, as small interfaces so that the link, the
/// OTA builder and the table files run the same in the window, on the
/// command line and in tests.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zrv {

enum class MsgIcon { Exclamation, Information, Warning, Error, Question };

/// The caption of a message box unless a message names its own.
inline constexpr const char* kDefaultMessageCaption = "ZR-V41K";

/// One message of the catalogue: its key ("Msg61"), its English text (also
/// the default when the language file has no entry), the box's icon, the
/// arguments a catalogue text may place with %s / %d (for example the file
/// name of Msg45) and the box's caption when it is not the model name.
/// Texts are UTF-8.
struct Message {
    Message() = default;
    Message(std::string key_, std::string english_, MsgIcon icon_ = MsgIcon::Exclamation,
            std::vector<std::string> args_ = {}, std::string caption_ = {})
        : key(std::move(key_)), english(std::move(english_)), icon(icon_), args(std::move(args_)),
          caption(std::move(caption_)) {}

    std::string key;
    std::string english;
    MsgIcon icon = MsgIcon::Exclamation;
    std::vector<std::string> args;
    std::string caption;  ///< empty: kDefaultMessageCaption

    /// The caption the box shows.
    const std::string& boxCaption() const {
        static const std::string model = kDefaultMessageCaption;
        return caption.empty() ? model : caption;
    }

    friend bool operator==(const Message&, const Message&) = default;
};

/// Shows messages to the user. The window shows a modal box with the caption
/// "ZR-V41K", the command line prints "MsgNN: text" to stderr, tests record.
class Notifier {
public:
    virtual ~Notifier() = default;
    /// A message box with an OK button.
    virtual void show(const Message& message) = 0;
    /// A Yes/No question; true when the answer is Yes.
    virtual bool ask(const Message& message) = 0;

    /// The answers to "Save changes to ...?".
    enum class SaveChoice { Save, Discard, Cancel };
    /// Whether to save changes before they are discarded: Save, Discard or
    /// Cancel. Where only Yes and No can be answered, Yes saves and No
    /// discards.
    virtual SaveChoice askToSave(const Message& message) {
        return ask(message) ? SaveChoice::Save : SaveChoice::Discard;
    }
};

/// Processes pending user-interface events once (a no-op off the window).
using Pump = std::function<void()>;

}  // namespace zrv
