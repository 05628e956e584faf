#include "FrameSource.h"

#include "StaticSample.h"

namespace {

uint64_t ChooseSeed(const SimOptions& options) {
  if (options.seed) return *options.seed;
  return (uint64_t(std::random_device{}()) << 32) | std::random_device{}();
}

}  // namespace

FrameSource::FrameSource(const SimOptions& options)
    : m_format(options.format),
      m_model(options.startLongitude, options.startLatitude, options.signedHeading),
      m_static(options.staticFrame),
      m_signedHeading(options.signedHeading),
      m_noisePercent(options.noisePercent),
      m_corruptEvery(options.corruptEvery),
      m_seed(ChooseSeed(options)),
      m_random(m_seed) {
  SetModelRate(options.rateHz);
}

NavSample FrameSource::NextSample() {
  NavSample sample;
  if (m_static) {
    sample = StaticSample::Sample();
    sample.signedHeading = m_signedHeading;
    if (m_signedHeading && sample.yaw >= 180.0) sample.yaw -= 360.0;
  } else {
    sample = m_model.SampleAt(m_modelTime);
  }
  m_modelTime += 1.0 / m_modelRate;
  sample.frameFormat = m_format.formatByte;
  return sample;
}

size_t FrameSource::AppendNext(std::vector<uint8_t>& out, SimStats& stats) {
  const size_t before = out.size();
  const NavSample sample = NextSample();
  switch (m_format.kind) {
    case FrameKind::Frame120: {
      const auto frame = BuildFrame120(sample);
      out.insert(out.end(), frame.begin(), frame.end());
      ++stats.frames120;
      break;
    }
    case FrameKind::Frame220: {
      const auto frame = BuildFrame220(sample);
      out.insert(out.end(), frame.begin(), frame.end());
      ++stats.frames220;
      break;
    }
    case FrameKind::Frame76: {
      const auto frame = BuildFrame76(sample);
      out.insert(out.end(), frame.begin(), frame.end());
      ++stats.frames76;
      break;
    }
  }
  ++m_framesMade;
  if (m_corruptEvery > 0 && m_framesMade % uint64_t(m_corruptEvery) == 0) {
    // The last byte is the low CRC byte or the sum: the frame fails its check.
    out.back() ^= 0xFF;
    ++stats.corruptedFrames;
  }
  AppendNoise(out, stats);
  return out.size() - before;
}

void FrameSource::AppendNoise(std::vector<uint8_t>& out, SimStats& stats) {
  if (m_noisePercent <= 0) return;
  // Uniform between none and twice the mean, so the mean is the percentage.
  const uint64_t most = 2 * uint64_t(m_format.FrameLength()) * uint64_t(m_noisePercent) / 100;
  const uint64_t count = m_random() % (most + 1);
  for (uint64_t i = 0; i < count; ++i) out.push_back(uint8_t(m_random()));
  stats.noiseBytes += count;
}
