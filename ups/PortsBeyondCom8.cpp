#include "ups/PortsBeyondCom8.h"

#include <algorithm>

namespace {

// Windows numbers serial ports from 1 to 256 at most.
constexpr int kHighestPort = 256;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of a name "COM" + digits (any letter case); 0 for any other name.
int PortNumber(const std::string& name) {
  if (name.size() < 4 || name.size() > 6) return 0;
  for (int i = 0; i < 3; ++i)
    if ((name[i] & ~0x20) != "COM"[i]) return 0;
  int number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!IsDigit(name[i])) return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number <= kHighestPort ? number : 0;
}

}  // namespace

std::vector<int> SerialPortsBeyondCom8(const std::vector<std::string>& deviceNames) {
  std::vector<int> ports;
  for (const std::string& name : deviceNames) {
    const int number = PortNumber(name);
    if (number > 8) ports.push_back(number);
  }
  std::sort(ports.begin(), ports.end());
  ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
  return ports;
}

std::string PortsBeyondCom8Lines(const std::vector<int>& ports, const std::string& namesText,
                                 const std::string& adviceText) {
  if (ports.empty()) return {};
  std::string lines = "\r\n " + namesText;
  for (size_t i = 0; i < ports.size(); ++i) lines += (i == 0 ? " COM" : ", COM") + std::to_string(ports[i]);
  return lines + "\r\n " + adviceText;
}
