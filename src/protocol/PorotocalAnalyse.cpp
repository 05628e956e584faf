#include "protocol/PorotocalAnalyse.h"

void CPorotocalAnalyse::SetConfigLine1(const std::string& line) {
  m_strConfigLine1.Set(line);
}

void CPorotocalAnalyse::SetConfigLine2(const std::string& line) {
  m_strConfigLine2.Set(line);
  // Only the exact text counts: a line still carrying its line end does not.
  m_bSignedHeading.store(line == kSignedHeadingConvention, std::memory_order_relaxed);
}

void DecodeCurrentFrame(CPorotocalAnalyse& analyser) {
  switch (analyser.SelectedDecoder()) {
    case CPorotocalAnalyse::Decoder::Frame120:
      analyser.DecodeFrame120();
      break;
    case CPorotocalAnalyse::Decoder::Frame220:
      analyser.DecodeFrame220();
      break;
    case CPorotocalAnalyse::Decoder::None:
      break;
  }
}
