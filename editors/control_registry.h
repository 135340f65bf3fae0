#pragma once
/// \file
/// The control registry: the main window's numbered controls (edtCap0..7,
/// edtPrompt0..43, chkMenu0..7, ...) gathered into one array per family,
/// indexed by each control's Tag, so that handlers shared by a family find
/// the member they serve.

#include <QString>
#include <QWidget>
#include <string_view>
#include <vector>

namespace zrv {

class ControlRegistry {
public:
    /// The family prefixes, in the order a name is matched against them.
    static const std::vector<QString>& Families();

    /// Fills the arrays from every named descendant of \p form in creation
    /// order: a control goes to the first family whose prefix starts its
    /// name, at index = its Tag; a later control with the same family and Tag
    /// replaces an earlier one. Tags outside 0..kMaxTag are ignored.
    void build(QWidget* form);

    /// The member of \p family with \p tag, or nullptr.
    QWidget* at(const QString& family, int tag) const;

    template <class T>
    T* get(const QString& family, int tag) const {
        return qobject_cast<T*>(at(family, tag));
    }

    /// The whole array of \p family (holes are nullptr); empty when unknown.
    const std::vector<QWidget*>& family(const QString& family) const;

    /// The family a control of this name belongs to ("" when none).
    static QString FamilyOf(const QString& name);

    static constexpr int kMaxTag = 255;

private:
    std::vector<std::vector<QWidget*>> arrays_;  // parallel to Families()
};

/// The Tag of a control: its "Tag" property, 0 when it has none (as every
/// designed component starts with Tag 0).
int TagOf(const QObject* control);

/// The Hint of a control: its "Hint" property, empty when it has none.
QString HintOf(const QObject* control);

}  // namespace zrv
