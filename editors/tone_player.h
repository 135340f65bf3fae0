#pragma once
/// \file
/// Plays the steps of a preview (core/tone.h) on the audio device without
/// holding the window: a timer moves from step to step while the window
/// goes on handling its events, and each step's samples are handed to the
/// device as the step begins. Without an audio device the steps run just
/// the same, silently, and the player says so once.

#include <QAudioDevice>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/tone.h"

class QAudioSink;
class QIODevice;

namespace zrv {

class TonePlayer : public QObject {
    Q_OBJECT
public:
    explicit TonePlayer(QObject* parent = nullptr);
    ~TonePlayer() override;

    /// Plays \p steps from the first; over and over with \p repeat (until
    /// stop()), else once and then emits finished(). A play under way ends.
    void play(std::vector<ToneStep> steps, bool repeat);
    /// Ends the play at once and silences the device; emits nothing.
    void stop();
    bool playing() const { return playing_; }
    /// Scales every step's length (1 = real time); tests play fast.
    void setTimeScale(double scale) { timeScale_ = scale; }
    /// The steps begun since the last play() (for tests and diagnostics).
    int stepsBegun() const { return stepsBegun_; }
    /// Where the player looks for its audio output; by default the system's
    /// default output. A machine without one gives a null device.
    void setOutputLookup(std::function<QAudioDevice()> lookup) { lookup_ = std::move(lookup); }

signals:
    /// A play without repeat reached its end.
    void finished();
    /// The first play found no audio output it can use: every play is silent.
    void noAudioOutput();

private:
    void beginStep();
    void stepEnded();
    bool findDevice();
    bool openDevice();
    void sound(const ToneStep& step);

    QTimer timer_;
    std::vector<ToneStep> steps_;
    std::size_t index_ = 0;
    bool repeat_ = false;
    bool playing_ = false;
    double timeScale_ = 1.0;
    int stepsBegun_ = 0;
    std::function<QAudioDevice()> lookup_;
    bool deviceTried_ = false;
    int sampleRate_ = 0;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* output_ = nullptr;
};

}  // namespace zrv
