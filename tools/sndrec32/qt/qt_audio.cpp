#include "tools/sndrec32/qt/qt_audio.h"

#include <algorithm>

#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

namespace {

QAudioFormat ToQt(const PcmFormat& format) {
  QAudioFormat qt;
  qt.setSampleRate(static_cast<int>(format.SampleRate));
  qt.setChannelCount(format.Channels);
  qt.setSampleFormat(format.BitsPerSample == 8    ? QAudioFormat::UInt8
                     : format.BitsPerSample == 32 ? QAudioFormat::Int32
                                                  : QAudioFormat::Int16);
  return qt;
}

// The device's own rate, 16-bit; one channel is enough for a voice.
QAudioFormat RecordingFormat(const QAudioDevice& device) {
  QAudioFormat format = device.preferredFormat();
  if (format.sampleRate() <= 0) {
    format.setSampleRate(44100);
  }
  format.setSampleFormat(QAudioFormat::Int16);
  QAudioFormat mono = format;
  mono.setChannelCount(1);
  if (device.isFormatSupported(mono)) {
    return mono;
  }
  if (format.channelCount() > 0 && device.isFormatSupported(format)) {
    return format;
  }
  return {};
}

}  // namespace

QtAudioInput::QtAudioInput(const QAudioDevice& device, const QAudioFormat& format)
    : device_(device), format_(format) {}

QtAudioInput::~QtAudioInput() {
  Stop();
}

PcmFormat QtAudioInput::Format() const {
  return {.SampleRate = static_cast<std::uint32_t>(format_.sampleRate()),
          .Channels = static_cast<std::uint16_t>(format_.channelCount()),
          .BitsPerSample = 16};
}

bool QtAudioInput::Start(Callbacks callbacks) {
  Stop();
  callbacks_ = std::move(callbacks);
  source_ = std::make_unique<QAudioSource>(device_, format_);
  io_ = source_->start();
  if (!io_ || source_->error() != QAudio::NoError) {
    Stop();
    return false;
  }
  QObject::connect(io_, &QIODevice::readyRead, source_.get(), [this] {
    if (io_) {
      Deliver(io_->readAll());
    }
  });
  QObject::connect(source_.get(), &QAudioSource::stateChanged, source_.get(), [this] {
    if (source_->state() == QAudio::StoppedState && source_->error() != QAudio::NoError &&
        callbacks_.Failed) {
      const auto failed = callbacks_.Failed;  // the callback may Stop, which clears callbacks_
      failed("audio input error");
    }
  });
  return true;
}

void QtAudioInput::Stop() {
  if (!source_) {
    return;
  }
  // Detach first: a callback may call Stop again, and stopping emits signals.
  const QByteArray rest = io_ ? io_->readAll() : QByteArray();
  source_->disconnect();
  if (io_) {
    io_->disconnect();
  }
  source_->stop();
  // Deleted later: Stop may run inside one of the source's own signals.
  source_.release()->deleteLater();
  io_ = nullptr;
  Callbacks callbacks = std::move(callbacks_);
  callbacks_ = {};
  if (!rest.isEmpty() && callbacks.Data) {
    callbacks.Data(std::span(reinterpret_cast<const std::uint8_t*>(rest.constData()),
                             static_cast<std::size_t>(rest.size())));
  }
}

void QtAudioInput::Deliver(const QByteArray& bytes) {
  if (!bytes.isEmpty() && callbacks_.Data) {
    const auto data = callbacks_.Data;  // the callback may Stop, which clears callbacks_
    data(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   static_cast<std::size_t>(bytes.size())));
  }
}

constexpr qint64 kPlaybackBufferUSecs = 250000;

// Idle comes when the last bytes were handed to the sound server, not when
// they were heard: the sink stays open until its clock has passed the end.
constexpr int kDrainTickMs = 20;
constexpr int kMaxDrainTicks = 100;  // gives up waiting after 2 s

QtAudioOutput::QtAudioOutput(const QAudioDevice& device) : device_(device) {
  drain_.setInterval(kDrainTickMs);
  QObject::connect(&drain_, &QTimer::timeout, [this] { CheckPlayed(); });
}

QtAudioOutput::~QtAudioOutput() {
  Stop();
}

bool QtAudioOutput::Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
                         std::function<void(bool played)> finished) {
  Stop();
  buffer_.setData(reinterpret_cast<const char*>(pcm.data()), static_cast<qsizetype>(pcm.size()));
  if (!buffer_.open(QIODevice::ReadOnly)) {
    return false;
  }
  finished_ = std::move(finished);
  lengthUSecs_ = static_cast<qint64>(pcm.size() / format.BytesPerFrame()) * 1000000 /
                 static_cast<qint64>(format.SampleRate);
  sink_ = std::make_unique<QAudioSink>(device_, ToQt(format));
  // A take is played back, not played live: a quarter second of buffer keeps
  // a busy machine from leaving gaps, where the default 20 ms periods did not.
  sink_->setBufferSize(
      static_cast<qsizetype>(sink_->format().bytesForDuration(kPlaybackBufferUSecs)));
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                   [this] { OnStateChanged(); });
  sink_->start(&buffer_);
  if (sink_->error() != QAudio::NoError) {
    Stop();
    return false;
  }
  return true;
}

void QtAudioOutput::Stop() {
  drain_.stop();
  finished_ = nullptr;
  if (sink_) {
    sink_->disconnect();
    sink_->stop();
    sink_.release()->deleteLater();
  }
  buffer_.close();
}

std::size_t QtAudioOutput::PlayedBytes() const {
  if (!sink_) {
    return 0;
  }
  const qint64 played = sink_->format().bytesForDuration(sink_->processedUSecs());
  return static_cast<std::size_t>(std::clamp<qint64>(played, 0, buffer_.size()));
}

void QtAudioOutput::OnStateChanged() {
  const QAudio::State state = sink_->state();
  if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
    End(false);
  } else if (state == QAudio::IdleState && buffer_.atEnd() && !drain_.isActive()) {
    drainTicks_ = 0;
    drain_.start();
  }
}

void QtAudioOutput::CheckPlayed() {
  if (sink_->processedUSecs() >= lengthUSecs_ || ++drainTicks_ >= kMaxDrainTicks) {
    End(true);
  }
}

void QtAudioOutput::End(bool played) {
  const std::function<void(bool)> finished = finished_;  // Stop drops it
  Stop();
  if (finished) {
    finished(played);
  }
}

std::unique_ptr<AudioInput> OpenInput(const QAudioDevice& device) {
  const QAudioFormat format = RecordingFormat(device);
  if (device.isNull() || !format.isValid()) {
    return nullptr;
  }
  return std::make_unique<QtAudioInput>(device, format);
}

std::unique_ptr<AudioOutput> OpenDefaultOutput() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    return nullptr;
  }
  return std::make_unique<QtAudioOutput>(device);
}
