#include "protocol/ReceivePipeline.h"

ReceivePipeline::ReceivePipeline(CPorotocalAnalyse& analyser, const ReceiveModeSwitch& mode)
    : m_mode(mode), m_router(analyser, m_mode), m_parser(m_ring, m_router) {}

ReceivePipeline::~ReceivePipeline() {
  Stop();
}

void ReceivePipeline::AddChunkListener(ChunkListener& listener) {
  m_listeners.push_back(&listener);
}

bool ReceivePipeline::Start() {
  return m_parser.Start();
}

void ReceivePipeline::Stop() {
  m_parser.Stop();
}

void ReceivePipeline::AcceptChunk(const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  const ChunkReceiver::Accepted accepted = m_receiver.Accept(bytes, count);
  const ChunkListener::Chunk chunk{bytes, count, accepted.firstText, accepted.restText};
  for (ChunkListener* listener : m_listeners) listener->OnChunk(chunk);
}

LinkCounters ReceivePipeline::Counters() const {
  LinkCounters c;
  c.framesPassed = m_parser.FramesPassed();
  c.framesFailed = m_parser.FramesFailed();
  c.bytesSkipped = m_parser.BytesSkipped();
  c.overruns = m_parser.Overruns();
  c.framesRouted = m_router.FramesRouted();
  c.framesUnhandled = m_router.FramesUnhandled();
  return c;
}
