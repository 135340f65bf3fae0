#include "app/scanner_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

namespace zrv::app {

void ScannerBuffer::append(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F) text_.append(c);
}

std::optional<QString> ScannerBuffer::enter() {
    if (text_.size() == kSerialLength - 1) text_.append(QLatin1Char(' '));
    if (text_.size() == kSerialLength) return text_;
    return std::nullopt;
}

ScannerInput::ScannerInput(QObject* parent, SerialHandler onSerial)
    : QObject(parent), onSerial_(std::move(onSerial)), timer2_(new QTimer(this)) {
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, &ScannerInput::Timer2Timer);
    timer2_->start();
}

void ScannerInput::watch(QWindow* window) {
    if (!window) return;
    window->installEventFilter(this);  // before the focused control
    watched_ = window;
}

bool ScannerInput::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == watched_ && QApplication::activeModalWidget() == nullptr)
        return FormKeyPress(static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}

bool ScannerInput::FormKeyPress(QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
        buffer_.append(key->text());
        return false;  // the key still goes to the focused control
    }
    const auto serial = buffer_.enter();
    if (!serial) return false;  // Enter goes on; the buffer is kept
    if (onSerial_) onSerial_(*serial);
    buffer_.clear();
    return true;  // the Enter is consumed
}

}  // namespace zrv::app
