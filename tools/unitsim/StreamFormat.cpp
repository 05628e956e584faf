#include "StreamFormat.h"

#include "protocol/FrameBuilder.h"

std::optional<StreamFormat> StreamFormat::FromCommandDigit(char digit) {
  switch (digit) {
    case '1':
      return StreamFormat{FrameKind::Frame120, 0};
    case '2':
      return StreamFormat{FrameKind::Frame120, 1};
    case '3':
      return StreamFormat{FrameKind::Frame220, 0};
    case '6':
      return StreamFormat{FrameKind::Frame76, 0};
    default:
      return std::nullopt;
  }
}

char StreamFormat::CommandDigit() const {
  switch (kind) {
    case FrameKind::Frame220:
      return '3';
    case FrameKind::Frame76:
      return '6';
    case FrameKind::Frame120:
      break;
  }
  return formatByte == 1 ? '2' : '1';
}

int StreamFormat::FrameLength() const {
  switch (kind) {
    case FrameKind::Frame220:
      return kFrame220Length;
    case FrameKind::Frame76:
      return kFrame76Length;
    case FrameKind::Frame120:
      break;
  }
  return kFrame120Length;
}
