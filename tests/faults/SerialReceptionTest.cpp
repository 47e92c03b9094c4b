// The serial channel's reading thread failing at each of its calls, once:
// the port either still receives or says so at the next write. It never
// stays open and deaf, which a detection would report as a port without UPS.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "faults/FaultPlan.h"
#include "faults/SerialPoints_win32.h"
#include "platform/SerialErrors.h"
#include "platform/win32/Win32SerialChannel.h"
#include "support/PumpMessages.h"

namespace {

const char kAnswer[] = "TARVEXI QZ\r\n";

struct Exchange {
  std::string received;
  bool refused = false;  // a write said the port is lost
};

// Two probes of the UPS on COM2, call `at` failing (none when -1).
Exchange ProbeTwice(int at) {
  emulated_ports::Reset();
  emulated_ports::AddUps(2, kAnswer);
  Faults().beforeEachCall = emulated_ports::Settle;
  Exchange exchange;
  {
    Win32SerialChannel channel([](const std::string& text) { ADD_FAILURE() << text; });
    channel.OnTriggerAvail = [&exchange](SerialChannel& sender, uint16_t count) {
      while (count--) exchange.received += static_cast<char>(sender.ReadChar());
    };
    channel.SetComNumber(2);
    Faults().Arm(at, FaultKind::ReadError);
    channel.SetOpen(true);
    for (int probe = 0; probe < 2 && !exchange.refused; ++probe) {
      try {
        channel.WriteText("V?\r\n");
      } catch (const ESerialIO&) {
        exchange.refused = true;
      }
      PumpMessages(nullptr);
    }
    channel.SetOpen(false);
    Faults().Disarm();
  }
  EXPECT_FALSE(emulated_ports::Stuck()) << "call " << at;
  return exchange;
}

TEST(SerialReception, AReadingThreadThatFailsIsNeverSilent) {
  const Exchange clean = ProbeTwice(-1);
  const std::vector<Seam> seams = Faults().Seams();
  ASSERT_EQ(clean.received, std::string(kAnswer) + kAnswer);
  int tried = 0;
  for (int at = 1; at <= static_cast<int>(seams.size()); ++at) {
    if (seams[at - 1] != Seam::SerialReceive) continue;
    ++tried;
    const Exchange faulty = ProbeTwice(at);
    EXPECT_TRUE(Faults().Fired()) << "call " << at;
    EXPECT_TRUE(faulty.refused || faulty.received.find(kAnswer) != std::string::npos)
        << "call " << at << " of the reading thread failed: the port stayed open and received nothing";
  }
  EXPECT_GE(tried, 8);  // each read, wait and result of two answers, their posts and pauses
}

}  // namespace
