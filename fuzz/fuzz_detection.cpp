// Drives a UPS detection run over simulated ports with arbitrary bytes
// arriving at arbitrary ticks, ports failing mid-run and runs started over,
// and checks after every step what must hold whatever a device sends: the
// reply never grows past its 91 characters, the state stays within its table,
// and the run always ends in a report of eight port lines.
//
// Input: byte 0 says which of the ports 1 to 8 have a device, byte 1 which of
// them have their DSR line on; then one step per byte:
//   xxxxxx00  a tick of the timer (a due report is checked, then a run starts over)
//   llllll01  the next l bytes arrive as one notification
//   pppppp10  a piece of reply text (below) arrives
//   kkkkkk11  k % 4: 0 a run starts over, 1 a port fails to open from now on,
//             2 a port refuses the probe from now on, 3 a flood of one byte
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz/support/Check.h"
#include "tests/support/FakeSerialChannel.h"
#include "ups/UpsDetection.h"

namespace {

constexpr std::string_view kPieces[] = {"TARVEXI", "Velto",   "QZ",   "\r\n", "\n", "\r", "#",
                                        "!",       "tarvexi", " 1.0", "@",    "$",  "*",  {"\0", 1}};

void CheckState(const UpsDetection& detection) {
  Check(detection.ReplyText().size() <= UpsDetection::kReplyCapacity);
  Check(detection.CurrentPort() >= 1);
  Check(detection.TickCount() >= 0 && detection.TickCount() <= UpsDetection::kTickLimit);
  for (int n = 1; n <= UpsDetection::kPortCount; ++n)
    Check(detection.PortState(n) >= -1 && detection.PortState(n) <= 4 && detection.PortState(n) != 3);
}

void CheckReport(const DetectionReport& report) {
  static constexpr std::string_view kSuffixes[] = {" <== Empty",        " <== Soranthe Series",
                                                   " <== Velto Series", " <== Dry contact",
                                                   " <== QZ Series",    " Cannot use this port"};
  std::string_view rest = report.text;
  for (int n = 1; n <= UpsDetection::kPortCount; ++n) {
    const std::string head = " PORT : " + std::to_string(n);
    Check(rest.substr(0, head.size()) == head);
    rest.remove_prefix(head.size());
    const size_t end = rest.find("\r\n");
    Check(end != std::string_view::npos);
    bool known = false;
    for (std::string_view suffix : kSuffixes) known = known || rest.substr(0, end) == suffix;
    Check(known);
    rest.remove_prefix(end + 2);
  }
  if (report.foundCount < 1) {
    Check(rest == "\r\n UPS NOT FOUND !");
    Check(report.port == 0);
  } else {
    Check(rest.empty());
    Check(report.port >= 1 && report.port <= UpsDetection::kPortCount);
    Check(report.seriesCode >= 0 && report.seriesCode <= 3);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  FakeSerialChannel channel;
  for (int n = 1; n <= UpsDetection::kPortCount; ++n) {
    if (!(data[0] >> (n - 1) & 1)) continue;
    channel.AddSilent(n);
    channel.devices[n].dsr = data[1] >> (n - 1) & 1;
  }
  UpsDetection detection(channel);
  channel.OnTriggerAvail = [&detection](SerialChannel& sender, uint16_t count) {
    detection.ComPort1TriggerAvail(sender, count);
  };
  auto arrive = [&](std::string bytes) {
    channel.Arrive(std::move(bytes));
    channel.Deliver();
  };
  auto tick = [&] {
    const bool due = detection.Timer1Timer();
    channel.Deliver();
    if (due) CheckReport(detection.ReportDetection());
    return due;
  };

  detection.StartDetection();
  for (size_t at = 2; at < size;) {
    const uint8_t step = data[at++];
    const int argument = step >> 2;
    switch (step & 3) {
      case 0:
        if (tick()) detection.StartDetection();
        break;
      case 1: {
        const size_t length = std::min<size_t>(argument, size - at);
        arrive(std::string(reinterpret_cast<const char*>(data) + at, length));
        at += length;
        break;
      }
      case 2:
        arrive(std::string(kPieces[argument % std::size(kPieces)]));
        break;
      default: {
        const int port = argument / 4 % UpsDetection::kPortCount + 1;
        auto device = channel.devices.find(port);
        switch (argument % 4) {
          case 0:
            detection.StartDetection();
            break;
          case 1:
            if (device != channel.devices.end()) device->second.failOpen = [] { throw EHardware("gone"); };
            break;
          case 2:
            if (device != channel.devices.end()) device->second.refuseWrites = true;
            break;
          default:
            arrive(std::string(100 + argument * 5, static_cast<char>(argument * 5)));
            break;
        }
        break;
      }
    }
    CheckState(detection);
  }

  // Whatever happened, the run ends in a report, within the ticks of eight ports.
  for (int i = 0; i < (UpsDetection::kTickLimit + 1) * UpsDetection::kPortCount + 2; ++i)
    if (tick()) return 0;
  Check(!"the run never reported");
  return 0;
}
