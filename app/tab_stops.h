#pragma once
/// \file
/// The main window's Tab order. Tab walks the page in front from top to
/// bottom and left to right as the controls stand on screen, then the
/// window's own controls, and comes round. It never stops at the focus sink
/// `Edit1` nor at a read-only box (the summaries of a capcode row): both
/// still take the focus from a click or from the program. When Enter (or a
/// commit) has put the focus into the sink, Tab goes on from the field that
/// had it, as if the focus had stayed there.

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace zrv::app {

class TabStops : public QObject {
public:
    /// Orders the Tab stops of \p client from their present (design)
    /// geometry; \p sink is the focus sink, \p frontPage tells the page in front.
    TabStops(QWidget* client, QWidget* sink, std::function<QWidget*()> frontPage);

    /// The first control of \p page that Tab reaches now (shown and
    /// enabled); nullptr when there is none.
    QWidget* firstStopOf(const QWidget* page) const;
    /// Every Tab stop of the window in Tab order (shown or not).
    const std::vector<QWidget*>& stops() const { return stops_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The stop Tab (\p forward) or Shift+Tab reaches from the sink.
    QWidget* stopFromSink(bool forward) const;
    /// True for a stop Tab can land on now.
    bool reachable(const QWidget* w) const;

    QWidget* client_;
    QWidget* sink_;
    std::function<QWidget*()> frontPage_;
    std::vector<QWidget*> stops_;
    QPointer<QWidget> lastField_;  ///< the control the focus left for the sink
};

}  // namespace zrv::app
