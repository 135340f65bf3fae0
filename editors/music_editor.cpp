// The "Music && Tone" page and the alert tones of the "Alerts && Status"
// page: the music-type rows of the page chosen in cboMTPage with their
// melody boxes and Preview/Stop buttons, the out-of-range alert and its
// timer, the reminder tone and duration, the fixed alert tone; and the
// enabling rules of the alarm, priority and group music types.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/kit/caption_fit.h"
#include "core/music.h"
#include "core/option_fields.h"
#include "core/option_settings.h"
#include "core/tone.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/key_filter.h"
#include "editors/main_form.h"
#include "editors/music_enabling.h"
#include "editors/tone_player.h"
#include "editors/tool_tips.h"
#include "i18n/safe_format.h"

namespace zrv {
namespace {

using namespace music_enabling;

constexpr int kMusicTypeRows = kMusicRowsPerPage;
/// Tags of the out-of-range alert's and the reminder's melody, Preview and Stop.
constexpr int kOutOfRangeTag = 16;
constexpr int kReminderTag = 17;
constexpr int kPreviewButtons = 18;

/// The status line's word when a preview finds no audio output.
const Message kNoAudioOutput{"MsgNoAudioOutput", "No audio output was found: the preview plays silently."};
/// The tool tip of the priority and group music types, which no table file
/// or pager keeps.
const Message kOtaOnlyMusicType{"HintOtaMusicType",
                                "Sent only with an OTA command: this choice is not kept in the table file "
                                "nor written into the pager."};

/// The built-in formats of the row labels, one per function bit; the
/// language file's lblCapMusic0..15 replace them.
std::string RowLabelFormat(int row) {
    return std::string("Cap #%d: Music Type ") + static_cast<char>('A' + MusicRowFunctionBit(row));
}

/// What the module keeps between events: the melody boxes' input mode and
/// the preview player. A child of the main window, so it outlives the
/// controls whose handlers use it.
class MusicSession : public QObject {
public:
    explicit MusicSession(QObject* parent) : QObject(parent), player(this) {
        player.setObjectName(QStringLiteral("tonePlayer"));
    }
    MelodyInput input;
    TonePlayer player;
    int playingTag = -1;
};

/// One selector with its melody: a music-type row, the out-of-range alert
/// or the reminder.
struct MelodyRow {
    QComboBox* selector;
    QLineEdit* melody;
    QPushButton* stop;
    ToneSelector codes;
    std::size_t typeOffset;
    std::size_t melodyOffset;
};

class MusicEditor : public EditorModule {
public:
    std::string name() const override { return "music"; }

    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::BoundEnabling, RefreshSlot::OutOfRangeTimer, RefreshSlot::MenuDependents,
                RefreshSlot::MusicTypes,    RefreshSlot::BatteryLowTone,  RefreshSlot::Reminder,
                RefreshSlot::CapcodeMusicType};
    }

    void connectHandlers(MainForm& form) override {
        session_ = new MusicSession(form.window());
        MusicSession* session = session_;
        for (int tag = 0; tag < kPreviewButtons; ++tag) {
            QLineEdit& box = melodyBox(form, tag);
            connectMelodyBox(form, session, box, tag);
            QComboBox& selector = selectorOf(form, tag);
            QObject::connect(&selector, &QComboBox::activated, session,
                             [&form, tag] { selectorClick(form, tag); });
            QPushButton& preview = form.require(ctl::family::btnPreview, tag);
            QObject::connect(&preview, &QPushButton::clicked, session,
                             [&form, session, tag] { btnPreview0Click(form, *session, tag); });
            QPushButton& stop = form.require(ctl::family::btnStop, tag);
            stop.setEnabled(false);
            QObject::connect(&stop, &QPushButton::clicked, session,
                             [&form, session, tag] { btnStop0Click(form, *session, tag); });
        }
        QObject::connect(&session->player, &TonePlayer::finished, session, [&form, session] {
            if (session->playingTag >= 0) btnStop0Click(form, *session, session->playingTag);
        });
        // The player looks for its output once, at its first play.
        QObject::connect(&session->player, &TonePlayer::noAudioOutput, session, [&form] {
            form.setStatus(QStringLiteral("  ") + catalogue(form, kNoAudioOutput));
        });
        for (QWidget* otaOnly : {static_cast<QWidget*>(&form.require(ctl::cboPriType)),
                                 static_cast<QWidget*>(&form.require(ctl::cboGroupType))})
            ToolTipFrom(otaOnly, [&form] { return catalogue(form, kOtaOnlyMusicType); });
        QComboBox& page = form.require(ctl::cboMTPage);
        QObject::connect(&page, &QComboBox::activated, session, [&form] { cboMTPageChange(form); });
        QComboBox& tone = form.require(ctl::cboTone);
        QObject::connect(&tone, &QComboBox::activated, session, [&form](int item) {
            if (item >= 0 && item < kAlertToneItemCount) StoreAlertTone(form.image(), item);
        });
        QComboBox& duration = form.require(ctl::cboRDC);
        QObject::connect(&duration, &QComboBox::activated, session, [&form](int item) {
            if (item < 0 || item >= kReminderDurationItemCount) return;
            StoreReminderDuration(form.image(), item);
            applyReminderRules(form);
        });
        QComboBox& timer = form.require(ctl::cboOSC);
        QObject::connect(&timer, &QComboBox::activated, session, [&form](int item) {
            if (item < 0 || item >= kOutOfRangeItemCount) return;
            StoreOutOfRangeItem(form.image(), item);
            applyOutOfRangeRules(form);
        });
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        switch (slot) {
            case RefreshSlot::BoundEnabling: applyMusicTypeOptionRules(form); break;
            case RefreshSlot::OutOfRangeTimer:
                form.require(ctl::cboOSC).setCurrentIndex(OutOfRangeItem(form.image()));
                break;
            case RefreshSlot::MenuDependents:
                applyCapcodeMusicRules(form);
                applyOutOfRangeRules(form);
                applyAlertToneRule(form);
                // A menu click with "Set Alert" on has stored "Tone 1".
                showAlertTone(form);
                break;
            case RefreshSlot::MusicTypes:
                for (int tag = 0; tag < kReminderTag; ++tag) showRow(form, tag);
                showMelodies(form);
                showAlertTone(form);
                showReminderDuration(form);
                break;
            case RefreshSlot::BatteryLowTone: showRow(form, kReminderTag); break;
            case RefreshSlot::Reminder: applyReminderRules(form); break;
            case RefreshSlot::CapcodeMusicType:
                // A change runs the box's click handler, as a user click does.
                form.require(ctl::chkCapMusicType).setChecked(fields::kCapcodeMusicTypeOff.Get(form.image()) == 0);
                break;
            default: break;
        }
    }

    void applyModifyModeRules(MainForm& form) override {
        // Enabling everything must not unlock a combo whose box is unchecked,
        // nor a Stop button while nothing plays.
        applyMusicTypeOptionRules(form);
        applyCapcodeMusicRules(form);
        applyOutOfRangeRules(form);
        applyReminderRules(form);
        for (int tag = 0; tag < kPreviewButtons; ++tag)
            form.require(ctl::family::btnStop, tag).setEnabled(session_ && session_->playingTag == tag);
    }

    void boundControlChanged(MainForm& form, QWidget* control) override {
        if (control == &form.require(ctl::chkCapMusicType)) {
            chkCapMusicTypeChanged(form);
        } else if (control == &form.require(ctl::outOfRangeAlert)) {
            applyOutOfRangeRules(form);
        } else if (control == &form.require(ctl::chkReminderSelectTone)) {
            applyReminderRules(form);
        }
    }

private:
    static QString catalogue(MainForm& form, const Message& m) {
        return QString::fromStdString(form.catalogueText(m.key.c_str(), m.english));
    }

    // Controls by Tag ----------------------------------------------------------------

    static QLineEdit& melodyBox(MainForm& form, int tag) {
        if (tag == kOutOfRangeTag) return form.require(ctl::edtOORMusic);
        if (tag == kReminderTag) return form.require(ctl::edtReminderMusic);
        return form.require(ctl::family::edtMusicType, tag);
    }

    static QComboBox& selectorOf(MainForm& form, int tag) {
        if (tag == kOutOfRangeTag) return form.require(ctl::cboORAAlert);
        if (tag == kReminderTag) return form.require(ctl::cboRToneType);
        return form.require(ctl::family::cboMusicType, tag);
    }

    /// The row of \p tag on the current music page.
    static MelodyRow rowOf(MainForm& form, int tag) {
        MelodyRow row{&selectorOf(form, tag), &melodyBox(form, tag), &form.require(ctl::family::btnStop, tag),
                      ToneSelector::MusicType, 0, 0};
        if (tag == kOutOfRangeTag) {
            row.typeOffset = kOutOfRangeTypeOffset;
            row.melodyOffset = kOutOfRangeMelodyOffset;
        } else if (tag == kReminderTag) {
            row.codes = ToneSelector::ReminderTone;
            row.typeOffset = kReminderToneOffset;
            row.melodyOffset = kReminderMelodyOffset;
        } else {
            row.typeOffset = MusicTypeOffset(form.state().musicTypePage, tag);
            row.melodyOffset = MelodyOffset(form.state().musicTypePage, tag);
        }
        return row;
    }

    // Selectors ------------------------------------------------------------------------

    /// A music page chosen in cboMTPage: the row labels numbered for the
    /// page, then its music types and melodies.
    static void cboMTPageChange(MainForm& form) {
        const int page = form.require(ctl::cboMTPage).currentIndex();
        if (page < 0 || page >= kMusicPageCount) return;
        form.state().musicTypePage = page;
        for (int row = 0; row < kMusicTypeRows; ++row) {
            const std::string key = "lblCapMusic" + std::to_string(row);
            const std::string format = form.catalogueText(key.c_str(), RowLabelFormat(row));
            QLabel& label = form.require(ctl::family::lblCapMusic, row);
            label.setText(QString::fromStdString(i18n::SafeFormat(format, {MusicRowCapcode(page, row)})));
            kit::FitToCaption(&label);
        }
        for (int row = 0; row < kMusicTypeRows; ++row) showRow(form, row);
        showMelodies(form);
    }

    /// cboMusicType0..15, cboORAAlert, cboRToneType: the item's code, then
    /// the row shows its melody box for "User" only.
    static void selectorClick(MainForm& form, int tag) {
        const MelodyRow row = rowOf(form, tag);
        const int item = row.selector->currentIndex();
        if (item < 0 || item >= ToneItemCount(row.codes)) return;
        StoreToneItem(form.image(), row.typeOffset, row.codes, item);
        showRow(form, tag);
    }

    /// Selects the stored item; a code of no item leaves the row as it was.
    static void showRow(MainForm& form, int tag) {
        const MelodyRow row = rowOf(form, tag);
        const std::optional<int> item = ShownToneItem(form.image(), row.typeOffset, row.codes);
        if (!item) return;
        row.selector->setCurrentIndex(*item);
        const bool user = *item == kUserMusicItem;
        row.melody->setVisible(user);
        row.stop->setVisible(user);
    }

    static void showMelody(MainForm& form, int tag) {
        const MelodyRow row = rowOf(form, tag);
        row.melody->setText(QString::fromStdString(MelodyText(ReadMelody(form.image(), row.melodyOffset))));
    }

    static void showMelodies(MainForm& form) {
        for (int tag = 0; tag < kPreviewButtons; ++tag) showMelody(form, tag);
    }

    static void showAlertTone(MainForm& form) {
        if (const auto item = ShownToneItem(form.image(), kAlertToneOffset, ToneSelector::AlertTone))
            form.require(ctl::cboTone).setCurrentIndex(*item);
    }

    static void showReminderDuration(MainForm& form) {
        if (const auto item = ReminderDurationItem(form.image())) form.require(ctl::cboRDC).setCurrentIndex(*item);
    }

    // Melody boxes ----------------------------------------------------------------------

    static void connectMelodyBox(MainForm& form, MusicSession* session, QLineEdit& box, int tag) {
        box.setMaxLength(kMelodyLength);  // a pasted text keeps its first 16 characters
        OnEnter(&box, [session, &box] {
            box.clear();
            session->input.reset();
        });
        FilterTypedCharacters(box, form, [session, &box](char32_t ch) {
            return session->input.key(ch, static_cast<std::size_t>(box.text().trimmed().size()));
        });
        QObject::connect(&box, &QLineEdit::textEdited, session, [session](const QString& text) {
            if (text.trimmed().isEmpty()) session->input.reset();
        });
        OnExit(&box, [&form, session, tag] {
            session->input.reset();
            storeMelody(form, tag);
        });
    }

    /// Stores the melody of the box left: an emptied box shows the stored
    /// melody again; text outside the notation is refused and the stored
    /// melody shown again; anything else is stored padded to 16 characters.
    static void storeMelody(MainForm& form, int tag) {
        const MelodyRow row = rowOf(form, tag);
        const QString text = row.melody->text();
        if (text.trimmed().isEmpty()) {
            showMelodies(form);
            return;
        }
        const std::string typed = text.toStdString();
        const Outcome outcome = StoreMelody(form.image(), row.melodyOffset, typed);
        outcome.Report(form.notifier());
        if (outcome.ok)
            row.melody->setText(QString::fromStdString(PaddedMelodyText(typed)));
        else
            showMelody(form, tag);
    }

    // Preview ----------------------------------------------------------------------------

    static void btnPreview0Click(MainForm& form, MusicSession& session, int tag) {
        const MelodyRow row = rowOf(form, tag);
        const int item = row.selector->currentIndex();
        if (item < 0 || item >= kMusicTypeItemCount) return;
        if (session.playingTag >= 0) btnStop0Click(form, session, session.playingTag);
        const int last = tag == kReminderTag ? kReminderTag : kOutOfRangeTag;
        for (int t = 0; t <= last; ++t) form.require(ctl::family::btnPreview, t).setEnabled(false);
        session.playingTag = tag;
        if (item == kUserMusicItem) {
            row.stop->setEnabled(true);
            const std::string text = PaddedMelodyText(row.melody->text().toLatin1().toStdString());
            session.player.play(MelodySteps(text), true);
        } else {
            row.stop->setVisible(false);
            session.player.play(TuneSteps(PreviewTune(item)), false);
        }
    }

    static void btnStop0Click(MainForm& form, MusicSession& session, int tag) {
        session.player.stop();
        session.playingTag = -1;
        const bool music = form.require(ctl::chkCapMusicType).isChecked();
        for (int t = 0; t < kMusicTypeRows; ++t) form.require(ctl::family::btnPreview, t).setEnabled(music);
        form.require(ctl::family::btnStop, tag).setEnabled(false);
        form.require(ctl::btnPreview17).setEnabled(form.require(ctl::chkReminderSelectTone).isChecked());
        form.require(ctl::btnPreview16).setEnabled(outOfRangeAlertOn(form));
    }

    // Check boxes and enabling ------------------------------------------------------------

    /// "Capcode Music Type Enable": the rows follow the box. A user's click
    /// stored the pager's switch through the box's field, which also tells,
    /// while "Set Alert" is off, whether the fixed alert tone is offered. A
    /// refresh that changes the box stores the switch as a click does,
    /// message included (the field's binding echoed only the box's bit).
    static void chkCapMusicTypeChanged(MainForm& form) {
        const bool checked = form.require(ctl::chkCapMusicType).isChecked();
        applyCapcodeMusicRules(form);
        if (form.state().refreshing())
            StoreCapcodeMusicType(form.image(), checked, form.require(ctl::chkMenu6).isChecked())
                .Report(form.notifier());
        applyAlertToneRule(form);
    }

    MusicSession* session_ = nullptr;
};

const EditorModuleRegistration registration{"music", [] { return std::make_unique<MusicEditor>(); }};

}  // namespace
}  // namespace zrv
