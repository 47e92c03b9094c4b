#pragma once
// The probe of serial ports 1 to 8 for a UPS of the maker's series: the state
// of one run, advanced by the ticks of a one-second timer and by the bytes the
// channel receives, and the report that ends it. The windows drive it and show
// what it found; it knows nothing of them.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/SerialChannel.h"

// What a port gave. The codes are the ones the report lines stand for.
namespace port_code {
constexpr int CannotUse = -1;  // failed to open at the start, or to take the probe
constexpr int Empty = 0;       // opened; no UPS identified on it
constexpr int Soranthe = 1;
constexpr int Velto = 2;
constexpr int DryContact = 3;  // nothing found anywhere, and its DSR line is on
constexpr int QZ = 4;
}  // namespace port_code

// The UPSTYPE code of the series a port code stands for; -1 for none.
int SeriesCodeOfPortCode(int code);

struct DetectionReport {
  std::string text;  // one line per port, then " UPS NOT FOUND !" when nothing was found
  int foundCount = 0;
  int port = 0;         // the highest port with a UPS, 0 when none
  int seriesCode = -1;  // UPSTYPE code of the series on the lowest port with a UPS
};

class UpsDetection {
 public:
  static constexpr int kPortCount = 8;
  static constexpr size_t kReplyCapacity = 91;
  // A port that gives no complete reply line is left once the count passes this.
  static constexpr int kTickLimit = 10;

  explicit UpsDetection(SerialChannel& comPort);

  // Runs before each probe with the port being probed.
  std::function<void(int port)> OnProbe;

  // Sets up a run: opens each port in turn to see which can be used.
  void StartDetection();
  // Opens the channel on port n; false when it cannot be used.
  bool OpenPort(int n);
  // Sends text followed by CR LF in one write.
  void SendLine(const std::string& text);
  // One tick of the timer; true when every port is done: the caller stops
  // the timer and reports.
  bool Timer1Timer();
  // Bytes arrived on the channel.
  void ComPort1TriggerAvail(SerialChannel& sender, uint16_t count);
  // Ends a run: the dry-contact search when nothing was found, the report,
  // and the channel closed.
  DetectionReport ReportDetection();

  int PortState(int n) const { return n >= 1 && n <= kPortCount ? portState_[n] : port_code::CannotUse; }
  int CurrentPort() const { return currentPort_; }
  int TickCount() const { return tickCount_; }
  int FoundCount() const { return foundCount_; }
  std::string_view ReplyText() const { return {replyText_.data(), replyLength_}; }

 private:
  void Probe(int port);
  void CollectByte(uint8_t byte);
  void EvaluateReply();
  void ResetReply();

  SerialChannel& comPort_;
  std::array<int, kPortCount + 1> portState_{};  // indexed by port number; entry 0 unused
  int currentPort_ = 1;
  int tickCount_ = 0;
  int foundCount_ = 0;
  std::array<char, kReplyCapacity> replyText_{};
  size_t replyLength_ = 0;
};
