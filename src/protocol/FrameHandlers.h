#pragma once

// Receives each checked frame, with the frame left in the analyser, according
// to the receive mode in force when the frame was found.
class FrameHandlers {
 public:
  virtual void OnLiveFrame() = 0;
  virtual void OnCurveFrame() = 0;

 protected:
  ~FrameHandlers() = default;
};
