#include "editors/tone_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <cmath>

namespace zrv {

namespace {
constexpr int kPreferredSampleRate = 48000;
/// Room in the device's buffer for the longest step (a melody of one
/// held note, 16 x 120 ms) with time to spare.
constexpr int kBufferSeconds = 3;
}  // namespace

TonePlayer::TonePlayer(QObject* parent) : QObject(parent), lookup_([] { return QMediaDevices::defaultAudioOutput(); }) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TonePlayer::stepEnded);
}

TonePlayer::~TonePlayer() { stop(); }

void TonePlayer::play(std::vector<ToneStep> steps, bool repeat) {
    stop();
    steps_ = std::move(steps);
    repeat_ = repeat;
    index_ = 0;
    stepsBegun_ = 0;
    playing_ = true;
    findDevice();
    beginStep();
}

void TonePlayer::stop() {
    const bool wasPlaying = playing_;
    playing_ = false;
    timer_.stop();
    if (wasPlaying && sink_) sink_->reset();
    output_ = nullptr;
}

void TonePlayer::beginStep() {
    if (index_ >= steps_.size()) {
        if (repeat_ && !steps_.empty()) {
            index_ = 0;
        } else {
            stop();
            emit finished();
            return;
        }
    }
    const ToneStep& step = steps_[index_];
    ++stepsBegun_;
    if (timeScale_ == 1.0) sound(step);
    // A zero-length step still goes through the event loop, so that a
    // melody of silent steps never holds the window.
    timer_.start(static_cast<int>(std::lround(step.durationMs * timeScale_)));
}

void TonePlayer::stepEnded() {
    if (!playing_) return;
    ++index_;
    beginStep();
}

bool TonePlayer::findDevice() {
    if (deviceTried_) return sink_ != nullptr;
    deviceTried_ = true;
    const QAudioDevice device = lookup_ ? lookup_() : QAudioDevice();
    QAudioFormat format;
    format.setSampleRate(kPreferredSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isNull() && !device.isFormatSupported(format))
        format.setSampleRate(device.preferredFormat().sampleRate());
    if (device.isNull() || !device.isFormatSupported(format)) {
        emit noAudioOutput();
        return false;
    }
    sampleRate_ = format.sampleRate();
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setBufferSize(sampleRate_ * 2 * kBufferSeconds);
    return true;
}

bool TonePlayer::openDevice() {
    if (output_) return true;
    if (!findDevice()) return false;
    output_ = sink_->start();
    return output_ != nullptr;
}

void TonePlayer::sound(const ToneStep& step) {
    if (!openDevice()) return;
    const std::vector<std::int16_t> samples = ToneSamples(step, sampleRate_);
    output_->write(reinterpret_cast<const char*>(samples.data()),
                   static_cast<qint64>(samples.size() * sizeof(std::int16_t)));
}

}  // namespace zrv
