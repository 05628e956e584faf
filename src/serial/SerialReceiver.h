#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "serial/SerialPortOwner.h"

class PerByteSink;
class ReceivePipeline;

// The owner of an open port as the serial worker sees it: bulk chunks go
// straight into the receive pipeline on the worker's thread; per-byte
// batches are carried to the GUI thread for the device session while the
// worker waits, and what the session leaves goes down the bulk road; the
// loss of the device is reported on the GUI thread.
class SerialReceiver final : public SerialPortOwner {
 public:
  // Queues a call onto the GUI thread, dropped if `context` is gone first.
  using GuiPost = std::function<void(std::function<void()> call, QObject* context)>;

  SerialReceiver(ReceivePipeline& pipeline, PerByteSink& perByte, GuiPost post,
                 std::function<void()> onPortGone);

  ReceiveMode CurrentReceiveMode() const override;
  void AcceptChunk(const uint8_t* bytes, int count) override;
  void HandOverBytes(const uint8_t* bytes, size_t count, OwnerReceipt receipt) override;
  void OnPortGone() override;

 private:
  ReceivePipeline& m_pipeline;
  PerByteSink& m_perByte;
  GuiPost m_post;
  std::function<void()> m_onPortGone;
  // Calls carried to the GUI thread die with this object, never run on it dead.
  QObject m_context;
};
