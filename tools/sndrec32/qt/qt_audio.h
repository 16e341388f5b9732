#pragma once

#include <functional>
#include <memory>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QBuffer>
#include <QPointer>
#include <QTimer>

#include "tools/sndrec32/audio_io.h"

class QAudioSink;
class QAudioSource;
class QIODevice;

/// Records from one Qt audio input device, 16-bit, mono when it can.
class QtAudioInput : public AudioInput {
 public:
  QtAudioInput(const QAudioDevice& device, const QAudioFormat& format);
  ~QtAudioInput() override;

  PcmFormat Format() const override;
  bool Start(Callbacks callbacks) override;
  void Stop() override;

 private:
  void Deliver(const QByteArray& bytes);

  QAudioDevice device_;
  QAudioFormat format_;
  std::unique_ptr<QAudioSource> source_;
  // Guarded: Qt deletes the device itself when the sound server goes away,
  // before it reports the stop.
  QPointer<QIODevice> io_;
  Callbacks callbacks_;
};

/// Plays back through one Qt audio output device.
class QtAudioOutput : public AudioOutput {
 public:
  explicit QtAudioOutput(const QAudioDevice& device);
  ~QtAudioOutput() override;

  bool Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
            std::function<void(bool played)> finished) override;
  void Stop() override;
  std::size_t PlayedBytes() const override;

 private:
  void OnStateChanged();
  void CheckPlayed();
  void End(bool played);

  QAudioDevice device_;
  QBuffer buffer_;
  std::unique_ptr<QAudioSink> sink_;
  std::function<void(bool)> finished_;
  qint64 lengthUSecs_ = 0;
  QTimer drain_;
  int drainTicks_ = 0;
};

/// The input for `device`, or null when it offers no 16-bit recording.
std::unique_ptr<AudioInput> OpenInput(const QAudioDevice& device);

/// The system's default speaker, or null when there is none.
std::unique_ptr<AudioOutput> OpenDefaultOutput();
