#pragma once

#include <array>
#include <cstdint>

#include "AtomicValue.h"
#include "PorotocalAnalyse.h"
#include "SharedText.h"

// The unit's frame analyser: recognises Frame76 byte by byte and Frame120 /
// Frame220 as whole frames, checks them and decodes their fields.
//
// Feeding (FeedByte, LoadFrame, CheckFrame, the decoders) is done by one
// thread at a time; any thread may read values meanwhile.
class CPorotocalRtkAnalyse final : public CPorotocalAnalyse {
 public:
  static constexpr int kBufferSize = 300;
  static constexpr int kInitialFrameLength = 90;

  CPorotocalRtkAnalyse();

  int DecodeFrame120() override;
  int DecodeFrame220() override;
  int IsReady() override { return 1; }
  bool FeedByte(uint8_t byte) override;
  int LoadFrame(int count, const uint8_t* bytes) override;
  bool CheckFrame() override;
  std::string GetSceneText() const override { return m_strScene.Get(); }
  std::string GetModeText() const override { return m_strMode.Get(); }
  std::string GetFrameFormatText() const override { return m_strFrameFormat.Get(); }
  void SetOdometerText(const std::string& text) override { m_strOdometer.Set(text); }
  std::string GetOdometerText() const override { return m_strOdometer.Get(); }
  int64_t GetAuxCount() const override { return m_nAuxCount.Get(); }
  int64_t GetTimeStamp() const override { return m_nTimeStamp.Get(); }
  double GetPitch() const override { return m_dPitch.Get(); }
  double GetRoll() const override { return m_dRoll.Get(); }
  double GetYaw() const override { return m_dYaw.Get(); }
  double GetGyroX() const override { return m_dGyroX.Get(); }
  double GetGyroY() const override { return m_dGyroY.Get(); }
  double GetGyroZ() const override { return m_dGyroZ.Get(); }
  double GetAccX() const override { return m_dAccX.Get(); }
  double GetAccY() const override { return m_dAccY.Get(); }
  double GetAccZ() const override { return m_dAccZ.Get(); }
  std::string GetInitStatusText() const override { return m_strInitStatus.Get(); }
  std::string GetCorrectionStatusText() const override { return m_strCorrectionStatus.Get(); }
  std::string GetGnssDiffStatusText() const override { return m_strGnssDiffStatus.Get(); }
  double GetBarometer() const override { return m_dBarometer.Get(); }
  std::string GetGnssHeadingStatusText() const override { return m_strGnssHeadingStatus.Get(); }
  std::string GetVelTypeText() const override { return m_strVelType.Get(); }
  double GetGnssHeading() const override { return m_dGnssHeading.Get(); }
  double GetPosType() const override { return m_dPosType.Get(); }
  double GetSatelliteCount() const override { return m_dSatelliteCount.Get(); }
  double GetGnssLatitude() const override { return m_dGnssLatitude.Get(); }
  double GetGnssLongitude() const override { return m_dGnssLongitude.Get(); }
  double GetGnssAltitude() const override { return m_dGnssAltitude.Get(); }
  double GetGnssVelE() const override { return m_dGnssVelE.Get(); }
  double GetGnssVelN() const override { return m_dGnssVelN.Get(); }
  double GetGnssVelU() const override { return m_dGnssVelU.Get(); }
  double GetLongitude() const override { return m_dLongitude.Get(); }
  double GetLatitude() const override { return m_dLatitude.Get(); }
  double GetAltitude() const override { return m_dAltitude.Get(); }
  double GetVelE() const override { return m_dVelE.Get(); }
  double GetVelN() const override { return m_dVelN.Get(); }
  double GetVelU() const override { return m_dVelU.Get(); }
  double GetAuxValue() const override { return m_dAuxValue.Get(); }
  double GetHeadType() const override { return m_dHeadType.Get(); }
  int GetFrameLength() const override { return m_nFrameLength.Get(); }
  uint8_t GetHeaderByte(unsigned index) const override {
    return index < m_header.size() ? m_header[index] : 0;
  }
  std::string GetExtraText1() const override { return m_strExtra[0].Get(); }
  std::string GetExtraText2() const override { return m_strExtra[1].Get(); }
  std::string GetExtraText3() const override { return m_strExtra[2].Get(); }
  std::string GetExtraText4() const override { return m_strExtra[3].Get(); }
  std::string GetExtraText5() const override { return m_strExtra[4].Get(); }

  // Synchroniser state, for tests: 0 hunting, 1 first header byte seen,
  // 2 second header byte seen, 3 collecting.
  int SyncState() const { return m_nSyncState; }
  int BufferPosition() const { return m_nBufferPos; }

  struct Layout;

 private:
  void DecodeInertial(const Layout& layout);
  void DecodeNavigation(const Layout& layout);
  void DecodeGnss(const Layout& layout, bool position, bool velocity, bool heading);
  void DecodeSolutionTypes(const Layout& layout);
  void DecodeStatusTexts(uint8_t flags);
  void ClearStatusTexts();
  double ReadHeading(const uint8_t* p) const;

  SharedText m_strScene, m_strMode, m_strFrameFormat, m_strOdometer;
  AtomicValue<int64_t> m_nAuxCount, m_nTimeStamp;
  AtomicValue<double> m_dPitch, m_dRoll, m_dYaw;
  AtomicValue<double> m_dGyroX, m_dGyroY, m_dGyroZ;
  AtomicValue<double> m_dAccX, m_dAccY, m_dAccZ;
  SharedText m_strInitStatus, m_strCorrectionStatus, m_strGnssDiffStatus;
  AtomicValue<double> m_dBarometer;
  SharedText m_strGnssHeadingStatus, m_strVelType;
  AtomicValue<double> m_dGnssHeading, m_dPosType, m_dSatelliteCount, m_dAuxValue, m_dHeadType;
  AtomicValue<double> m_dGnssVelE, m_dGnssVelN, m_dGnssVelU;
  AtomicValue<double> m_dGnssLatitude, m_dGnssLongitude, m_dGnssAltitude;
  AtomicValue<double> m_dVelE, m_dVelN, m_dVelU;
  AtomicValue<double> m_dLongitude, m_dLatitude, m_dAltitude;
  SharedText m_strExtra[5];

  AtomicValue<int> m_nFrameLength{kInitialFrameLength};
  std::array<uint8_t, kBufferSize> m_frame{};
  int m_nBufferPos = 0;
  int m_nSyncState = 0;
  const std::array<uint8_t, 9> m_header{0xDA, 0x61, 0, 0, 0, 0, 0, 0, 0};
};

// The one analyser of the process, created on first use and never destroyed.
CPorotocalRtkAnalyse* GetAnalyser();
