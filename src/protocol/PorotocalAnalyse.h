#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "protocol/NavSample.h"
#include "protocol/SharedText.h"

class SampleHub;

// The frame analyser interface. The operation order is part of the contract
// with every consumer, so new operations go after the existing ones.
//
// A decode fills one NavSample. An analyser that publishes (the program's
// own, from GetAnalyser) hands it to its sample hub, and every accessor then
// reads the latest published sample, so any thread may call them while a
// decode runs. A reader that needs values of one frame together takes a
// Snapshot instead of several accessor calls. A private analyser (log
// conversion, tests) publishes nothing; its accessors read its own last
// decode and belong to the thread that decodes.
class CPorotocalAnalyse {
 public:
  virtual int DecodeFrame120() = 0;
  virtual int DecodeFrame220() = 0;
  virtual int IsReady() = 0;
  virtual bool FeedByte(uint8_t byte) = 0;
  virtual int LoadFrame(int count, const uint8_t* bytes) = 0;
  virtual bool CheckFrame() = 0;
  virtual std::string GetSceneText() const = 0;
  virtual std::string GetModeText() const = 0;
  virtual std::string GetFrameFormatText() const = 0;
  virtual void SetOdometerText(const std::string& text) = 0;
  virtual std::string GetOdometerText() const = 0;
  virtual int64_t GetAuxCount() const = 0;
  virtual int64_t GetTimeStamp() const = 0;
  virtual double GetPitch() const = 0;
  virtual double GetRoll() const = 0;
  virtual double GetYaw() const = 0;
  virtual double GetGyroX() const = 0;
  virtual double GetGyroY() const = 0;
  virtual double GetGyroZ() const = 0;
  virtual double GetAccX() const = 0;
  virtual double GetAccY() const = 0;
  virtual double GetAccZ() const = 0;
  virtual std::string GetInitStatusText() const = 0;
  virtual std::string GetCorrectionStatusText() const = 0;
  virtual std::string GetGnssDiffStatusText() const = 0;
  virtual double GetBarometer() const = 0;
  virtual std::string GetGnssHeadingStatusText() const = 0;
  virtual std::string GetVelTypeText() const = 0;
  virtual double GetGnssHeading() const = 0;
  virtual double GetPosType() const = 0;
  virtual double GetSatelliteCount() const = 0;
  virtual double GetGnssLatitude() const = 0;
  virtual double GetGnssLongitude() const = 0;
  virtual double GetGnssAltitude() const = 0;
  virtual double GetGnssVelE() const = 0;
  virtual double GetGnssVelN() const = 0;
  virtual double GetGnssVelU() const = 0;
  virtual double GetLongitude() const = 0;
  virtual double GetLatitude() const = 0;
  virtual double GetAltitude() const = 0;
  virtual double GetVelE() const = 0;
  virtual double GetVelN() const = 0;
  virtual double GetVelU() const = 0;
  virtual double GetAuxValue() const = 0;
  virtual double GetHeadType() const = 0;
  virtual int GetFrameLength() const = 0;
  virtual uint8_t GetHeaderByte(unsigned index) const = 0;
  virtual std::string GetExtraText1() const = 0;
  virtual std::string GetExtraText2() const = 0;
  virtual std::string GetExtraText3() const = 0;
  virtual std::string GetExtraText4() const = 0;
  virtual std::string GetExtraText5() const = 0;

  // The whole state after the last decode, as one consistent set; false
  // before the first decode.
  virtual bool Snapshot(NavSample& out) const = 0;
  // The hub this analyser publishes to, or null.
  virtual SampleHub* Samples() const = 0;
  // Back to the state of a new analyser (the synchroniser, the values, the
  // published samples); the configuration lines stay. Only while nothing
  // decodes.
  virtual void Reset() = 0;

  void SetConfigLine1(const std::string& line);
  void SetConfigLine2(const std::string& line);
  std::string GetConfigLine1() const { return m_strConfigLine1.Get(); }
  std::string GetConfigLine2() const { return m_strConfigLine2.Get(); }

  // True when line 2 selects the plus/minus 180 degree heading convention.
  // Kept beside the text so a decode need not compare strings per frame.
  bool HeadingIsSigned() const { return m_bSignedHeading.load(std::memory_order_relaxed); }

  // Which decoder belongs to the frame most recently recognised.
  enum class Decoder : int { None = 0, Frame120 = 1, Frame220 = 2 };
  Decoder SelectedDecoder() const { return m_selectedDecoder.load(std::memory_order_relaxed); }

 protected:
  CPorotocalAnalyse() = default;
  ~CPorotocalAnalyse() = default;
  void SelectDecoder(Decoder d) { m_selectedDecoder.store(d, std::memory_order_relaxed); }

 private:
  SharedText m_strConfigLine1;
  SharedText m_strConfigLine2;
  std::atomic<bool> m_bSignedHeading{false};
  std::atomic<Decoder> m_selectedDecoder{Decoder::None};
};

// The text of configuration line 2 that turns on signed headings.
inline constexpr const char* kSignedHeadingConvention = "zhengfu180";

// Calls the decoder selected by the last FeedByte or CheckFrame; does nothing
// before any frame was recognised.
void DecodeCurrentFrame(CPorotocalAnalyse& analyser);
