#include "ui/kit/accessible_names.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHash>
#include <QLabel>

#include "core/accessible_name.h"

namespace zrv::kit {

namespace {

/// Where the name the design gave a control is kept once it has been
/// replaced by the name in the language shown.
constexpr const char* kDesignedName = "designedAccessibleName";

QString Spoken(const QString& caption) {
    return QString::fromStdString(AccessibleNameFromCaption(caption.toStdString()));
}

QString DesignedName(QWidget* w) {
    QVariant designed = w->property(kDesignedName);
    if (!designed.isValid()) {
        designed = w->accessibleName();
        w->setProperty(kDesignedName, designed);
    }
    return designed.toString();
}

/// The caption a control shows: a label's text, a button's, a group's title.
QString CaptionOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
    return {};
}

/// The spoken caption of the control that \p w's \p property names.
QString CaptionNamedIn(const QWidget* w, const char* property, const QHash<QString, QWidget*>& byName) {
    const QVariant other = w->property(property);
    if (!other.isValid()) return {};
    const QWidget* source = byName.value(other.toString());
    return source ? Spoken(CaptionOf(source)) : QString();
}

QString NameOf(QWidget* w, const QHash<const QWidget*, QLabel*>& buddies,
               const QHash<QString, QWidget*>& byName, const TextLookup& lookup) {
    if (const QString designed = DesignedName(w); !designed.isEmpty()) {
        if (!lookup) return designed;
        // A numbered family ("edtMusicType0".."15") shares one text.
        QString family = w->objectName();
        while (!family.isEmpty() && family.back().isDigit()) family.chop(1);
        const std::string key = kAccessibleNameKeyPrefix + family.toStdString();
        return Spoken(QString::fromStdString(lookup(key, designed.toStdString())));
    }
    if (const QLabel* beside = buddies.value(w)) return Spoken(beside->text());
    if (QString heading = CaptionNamedIn(w, kNamedByProperty, byName); !heading.isEmpty()) return heading;
    return Spoken(CaptionOf(w));
}

}  // namespace

bool TakesFocus(const QWidget* w) {
    return w->focusPolicy() != Qt::NoFocus && !w->objectName().startsWith(QLatin1String("qt_"));
}

void NameControls(QWidget* window, const TextLookup& lookup) {
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    QHash<const QWidget*, QLabel*> buddies;
    QHash<QString, QWidget*> byName;
    for (QWidget* w : widgets) {
        if (!w->objectName().isEmpty() && !byName.contains(w->objectName())) byName.insert(w->objectName(), w);
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy() && !buddies.contains(label->buddy()))
            buddies.insert(label->buddy(), label);
    }
    for (QWidget* w : widgets) {
        if (!TakesFocus(w)) continue;
        if (const QString name = NameOf(w, buddies, byName, lookup); !name.isEmpty() && name != w->accessibleName())
            w->setAccessibleName(name);
        const QString description = CaptionNamedIn(w, kDescribedByProperty, byName);
        if (!description.isEmpty() && description != w->accessibleDescription())
            w->setAccessibleDescription(description);
    }
}

}  // namespace zrv::kit
