// The serial ports above COM8 that the detection's report names when it
// found no UPS.
#include <gtest/gtest.h>

#include "ups/PortsBeyondCom8.h"

namespace {

using Ports = std::vector<int>;

TEST(PortsBeyondCom8, OnlySerialPortsNumberedAboveEightCountInOrderAndOnce) {
  EXPECT_EQ(SerialPortsBeyondCom8({"C:", "COM1", "COM8", "LPT9", "NUL", "PhysicalDrive0"}), Ports{});
  EXPECT_EQ(SerialPortsBeyondCom8({"COM12", "C:", "COM9", "com11", "COM1", "COM12", "Com256"}),
            (Ports{9, 11, 12, 256}));
  // Names that only look like a port.
  EXPECT_EQ(SerialPortsBeyondCom8({"COM", "COM1X", "COMX11", "COM 11", "COM-11", "XCOM11", "COM257",
                                   "COM99999", "COM11:", "C0M11", "#OM11"}),
            Ports{});
  EXPECT_EQ(SerialPortsBeyondCom8({"COM011"}), Ports{11});
}

TEST(PortsBeyondCom8, LinesNameThePortsThenGiveTheAdviceAndAreEmptyWithoutPorts) {
  EXPECT_EQ(PortsBeyondCom8Lines({}, "Beyond:", "Advice."), "");
  EXPECT_EQ(PortsBeyondCom8Lines({11}, "Beyond:", "Advice."), "\r\n Beyond: COM11\r\n Advice.");
  EXPECT_EQ(PortsBeyondCom8Lines({9, 11, 20}, "Beyond:", "Advice."),
            "\r\n Beyond: COM9, COM11, COM20\r\n Advice.");
}

}  // namespace
