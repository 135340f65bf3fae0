#include "app/window_components.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <algorithm>
#include <limits>

#include "ui/kit/caption_fit.h"
#include "editors/control_registry.h"

namespace zrv::app {

namespace {

std::string Utf8(const QString& s) { return s.toStdString(); }

std::string DesignedClass(const QObject* o) { return Utf8(o->property("designedClass").toString()); }

bool Describable(const QObject* o) {
    const QString name = o->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

std::string CaptionOf(QObject* o) {
    if (auto* l = qobject_cast<QLabel*>(o)) return Utf8(l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return Utf8(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(o)) return Utf8(g->title());
    if (auto* m = qobject_cast<QMenu*>(o)) return Utf8(m->title());
    if (auto* a = qobject_cast<QAction*>(o)) return Utf8(a->text());
    if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow()) return Utf8(w->windowTitle());
    return {};
}

void SetCaption(QObject* o, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (auto* l = qobject_cast<QLabel*>(o)) {
        if (l->text() != text) l->setText(text);
        kit::FitToCaption(l);  // an auto-size label grows or shrinks with its caption
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        b->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
        g->setTitle(text);
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
        m->setTitle(text);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setText(text);
    }
}

constexpr const char* kCreationIndex = "creationIndex";

/// The recorded creation number of a widget; unnumbered ones come after the
/// numbered, in the order they are found.
int CreationIndex(const QObject* o) {
    bool ok = false;
    const int index = o->property(kCreationIndex).toInt(&ok);
    return ok ? index : std::numeric_limits<int>::max();
}

std::vector<QObject*> ComponentObjects(QWidget* window) {
    std::vector<QObject*> objects;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (Describable(w) && !qobject_cast<QMenu*>(w)) objects.push_back(w);
    std::stable_sort(objects.begin(), objects.end(),
                     [](const QObject* a, const QObject* b) { return CreationIndex(a) < CreationIndex(b); });
    for (QMenu* m : window->findChildren<QMenu*>())
        if (Describable(m)) objects.push_back(m);
    for (QAction* a : window->findChildren<QAction*>())
        if (Describable(a)) objects.push_back(a);
    return objects;
}

}  // namespace

void RecordCreationOrder(QWidget* root) {
    int index = 0;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (Describable(w)) w->setProperty(kCreationIndex, index++);
}

i18n::ComponentList DescribeComponents(QWidget* window) {
    i18n::ComponentList list;
    for (QObject* o : ComponentObjects(window)) {
        i18n::Component c;
        c.name = Utf8(o->objectName());
        c.designedClass = DesignedClass(o);
        c.hint = Utf8(HintOf(o));
        if (auto* combo = qobject_cast<QComboBox*>(o)) {
            for (int i = 0; i < combo->count(); ++i) c.items.push_back(Utf8(combo->itemText(i)));
            c.selectedIndex = combo->currentIndex();
        } else {
            c.caption = CaptionOf(o);
        }
        list.push_back(std::move(c));
    }
    return list;
}

void ApplyComponents(QWidget* window, const i18n::ComponentList& components) {
    QHash<QString, QObject*> byName;
    for (QObject* o : ComponentObjects(window)) byName.insert(o->objectName(), o);
    for (const auto& c : components) {
        QObject* o = byName.value(QString::fromStdString(c.name));
        if (!o) continue;
        if (auto* combo = qobject_cast<QComboBox*>(o)) {
            QStringList items;
            for (const auto& item : c.items) items << QString::fromStdString(item);
            bool same = items.size() == combo->count();
            for (int i = 0; same && i < items.size(); ++i) same = combo->itemText(i) == items[i];
            const QSignalBlocker block(combo);
            if (!same) {
                combo->clear();
                combo->addItems(items);
            }
            combo->setCurrentIndex(c.selectedIndex < combo->count() ? c.selectedIndex : -1);
        } else {
            SetCaption(o, c.caption);
        }
    }
}

}  // namespace zrv::app
