#include "serial/SerialReceiver.h"

#include <QByteArray>

#include "protocol/PerByteSink.h"
#include "protocol/ReceivePipeline.h"

SerialReceiver::SerialReceiver(ReceivePipeline& pipeline, PerByteSink& perByte, GuiPost post,
                               std::function<void()> onPortGone)
    : m_pipeline(pipeline),
      m_perByte(perByte),
      m_post(std::move(post)),
      m_onPortGone(std::move(onPortGone)) {}

ReceiveMode SerialReceiver::CurrentReceiveMode() const {
  return m_pipeline.Mode().Get();
}

void SerialReceiver::AcceptChunk(const uint8_t* bytes, int count) {
  if (count > 0) m_pipeline.AcceptChunk(bytes, size_t(count));
}

void SerialReceiver::HandOverBytes(const uint8_t* bytes, size_t count, OwnerReceipt receipt) {
  // The receipt completes when the GUI thread is done with the bytes, or by
  // itself if the queued call is dropped, so the worker never waits forever.
  QByteArray batch(reinterpret_cast<const char*>(bytes), qsizetype(count));
  m_post(
      [this, batch, receipt] {
        const auto* data = reinterpret_cast<const uint8_t*>(batch.constData());
        receipt.Complete(m_perByte.OnSerialBytes(data, size_t(batch.size())));
      },
      &m_context);
}

void SerialReceiver::OnPortGone() {
  m_post(
      [this] {
        if (m_onPortGone) m_onPortGone();
      },
      &m_context);
}
