#pragma once
/// \file
/// The keyboard-wedge scanner input: a scanner types the pager's 12-character
/// serial number followed by Enter. Keys are collected between two ticks of
/// Timer2 (1000 ms); Enter after exactly 12 (or 11, padded with a space)
/// characters is a scanned serial number.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QKeyEvent;
class QTimer;
class QWindow;

namespace zrv::app {

class ScannerBuffer {
public:
    /// Length of a pager serial number.
    static constexpr int kSerialLength = 12;

    /// A key other than Enter: its characters are appended (control
    /// characters such as Tab or Backspace are not part of a serial number).
    void append(const QString& text);
    /// Enter: pads 11 characters with one space; with exactly 12 characters
    /// returns them (the caller empties the buffer after the write). Any
    /// other length returns nothing and keeps the buffer.
    std::optional<QString> enter();
    /// Timer2's tick and the end of a scanned write.
    void clear() { text_.clear(); }
    const QString& text() const { return text_; }

private:
    QString text_;
};

/// The key preview of the main window: every key typed in it reaches the
/// buffer before the focused control; Enter after a serial number hands it
/// to \p onSerial and is consumed. Timer2 empties the buffer each second.
class ScannerInput : public QObject {
    Q_OBJECT
public:
    using SerialHandler = std::function<void(const QString& serial)>;
    ScannerInput(QObject* parent, SerialHandler onSerial);

    /// Watches the keys of \p window (the main window once it is shown).
    void watch(QWindow* window);
    /// Timer2's tick.
    void Timer2Timer() { buffer_.clear(); }
    const ScannerBuffer& buffer() const { return buffer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// True when the key is consumed.
    bool FormKeyPress(QKeyEvent* key);

    ScannerBuffer buffer_;
    SerialHandler onSerial_;
    QTimer* timer2_ = nullptr;
    QPointer<QObject> watched_;
};

}  // namespace zrv::app
