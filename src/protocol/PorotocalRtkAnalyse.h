#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "protocol/AtomicValue.h"
#include "protocol/NavSample.h"
#include "protocol/PorotocalAnalyse.h"

class SampleHub;

// The unit's frame analyser: recognises Frame76 byte by byte and Frame120 /
// Frame220 as whole frames, checks them and decodes their fields.
//
// Feeding (FeedByte, LoadFrame, CheckFrame, the decoders) is done by one
// thread at a time; see CPorotocalAnalyse for who may read values meanwhile.
class CPorotocalRtkAnalyse final : public CPorotocalAnalyse {
 public:
  static constexpr int kBufferSize = 300;
  static constexpr int kInitialFrameLength = 90;

  enum class Publishing { Off, ToHub };
  explicit CPorotocalRtkAnalyse(Publishing publishing = Publishing::Off);
  ~CPorotocalRtkAnalyse();

  int DecodeFrame120() override;
  int DecodeFrame220() override;
  int IsReady() override { return 1; }
  bool FeedByte(uint8_t byte) override;
  int LoadFrame(int count, const uint8_t* bytes) override;
  bool CheckFrame() override;
  std::string GetSceneText() const override { return TextOf(Current().sceneText); }
  std::string GetModeText() const override { return TextOf(Current().modeText); }
  std::string GetFrameFormatText() const override { return TextOf(Current().frameFormatText); }
  void SetOdometerText(const std::string& text) override;
  std::string GetOdometerText() const override;
  int64_t GetAuxCount() const override { return Current().auxCount; }
  int64_t GetTimeStamp() const override { return Current().timeStamp; }
  double GetPitch() const override { return Current().pitch; }
  double GetRoll() const override { return Current().roll; }
  double GetYaw() const override { return Current().yaw; }
  double GetGyroX() const override { return Current().gyroX; }
  double GetGyroY() const override { return Current().gyroY; }
  double GetGyroZ() const override { return Current().gyroZ; }
  double GetAccX() const override { return Current().accX; }
  double GetAccY() const override { return Current().accY; }
  double GetAccZ() const override { return Current().accZ; }
  std::string GetInitStatusText() const override { return Status(StatusLamp::Init); }
  std::string GetCorrectionStatusText() const override { return Status(StatusLamp::Correction); }
  std::string GetGnssDiffStatusText() const override { return Status(StatusLamp::GnssDiff); }
  double GetBarometer() const override { return Current().barometer; }
  std::string GetGnssHeadingStatusText() const override { return Status(StatusLamp::GnssHeading); }
  std::string GetVelTypeText() const override { return TextOf(Current().velTypeText); }
  double GetGnssHeading() const override { return Current().gnssHeading; }
  double GetPosType() const override { return Current().posType; }
  double GetSatelliteCount() const override { return Current().satelliteCount; }
  double GetGnssLatitude() const override { return Current().gnssLatitude; }
  double GetGnssLongitude() const override { return Current().gnssLongitude; }
  double GetGnssAltitude() const override { return Current().gnssAltitude; }
  double GetGnssVelE() const override { return Current().gnssVelE; }
  double GetGnssVelN() const override { return Current().gnssVelN; }
  double GetGnssVelU() const override { return Current().gnssVelU; }
  double GetLongitude() const override { return Current().longitude; }
  double GetLatitude() const override { return Current().latitude; }
  double GetAltitude() const override { return Current().altitude; }
  double GetVelE() const override { return Current().velE; }
  double GetVelN() const override { return Current().velN; }
  double GetVelU() const override { return Current().velU; }
  double GetAuxValue() const override { return Current().auxValue; }
  double GetHeadType() const override { return Current().headType; }
  int GetFrameLength() const override { return m_nFrameLength.Get(); }
  uint8_t GetHeaderByte(unsigned index) const override {
    return index < m_header.size() ? m_header[index] : 0;
  }
  std::string GetExtraText1() const override { return TextOf(Current().extraText[0]); }
  std::string GetExtraText2() const override { return TextOf(Current().extraText[1]); }
  std::string GetExtraText3() const override { return TextOf(Current().extraText[2]); }
  std::string GetExtraText4() const override { return TextOf(Current().extraText[3]); }
  std::string GetExtraText5() const override { return TextOf(Current().extraText[4]); }

  bool Snapshot(NavSample& out) const override;
  SampleHub* Samples() const override { return m_hub.get(); }
  void Reset() override;

  // The sample the last decode filled; for the decoding thread.
  const NavSample& Decoded() const { return m_sample; }

  // Synchroniser state, for tests: 0 hunting, 1 first header byte seen,
  // 2 second header byte seen, 3 collecting.
  int SyncState() const { return m_nSyncState; }
  int BufferPosition() const { return m_nBufferPos; }

  struct Layout;

 private:
  NavSample Current() const;
  std::string Status(StatusLamp lamp) const;
  void DecodeInertial(const Layout& layout);
  void DecodeNavigation(const Layout& layout);
  void DecodeGnss(const Layout& layout, bool position, bool velocity, bool heading);
  void DecodeSolutionTypes(const Layout& layout);
  void DecodeStatus(uint8_t flags);
  void ClearStatus();
  void Publish(NavSample::Kind kind);
  double ReadHeading(const uint8_t* p) const;

  NavSample m_sample;  // decoding thread only
  std::unique_ptr<SampleHub> m_hub;
  // Set by decodes and by the reply interpreter's status reply alike.
  std::atomic<const std::string*> m_odometerText;

  AtomicValue<int> m_nFrameLength{kInitialFrameLength};
  std::array<uint8_t, kBufferSize> m_frame{};
  int m_nBufferPos = 0;
  int m_nSyncState = 0;
  const std::array<uint8_t, 9> m_header{0xDA, 0x61, 0, 0, 0, 0, 0, 0, 0};
};

// The one analyser of the process, created on first use and never destroyed.
// It publishes every decode to its sample hub.
CPorotocalRtkAnalyse* GetAnalyser();
