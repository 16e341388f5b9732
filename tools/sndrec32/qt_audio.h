#pragma once

#include <memory>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QBuffer>

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
  QIODevice* io_ = nullptr;
  Callbacks callbacks_;
};

/// Plays back through one Qt audio output device.
class QtAudioOutput : public AudioOutput {
 public:
  explicit QtAudioOutput(const QAudioDevice& device);
  ~QtAudioOutput() override;

  bool Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
            std::function<void()> finished) override;
  void Stop() override;

 private:
  QAudioDevice device_;
  QBuffer buffer_;
  std::unique_ptr<QAudioSink> sink_;
};

/// The system's default microphone, or null when there is none or it offers
/// no 16-bit recording.
std::unique_ptr<AudioInput> OpenDefaultInput();

/// The system's default speaker, or null when there is none.
std::unique_ptr<AudioOutput> OpenDefaultOutput();
