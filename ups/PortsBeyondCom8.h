#pragma once
// Serial ports numbered above COM8, which neither the detection nor the
// monitor uses: a USB-to-serial adapter often gets such a number. The
// detection's report names them when it found no UPS.
#include <string>
#include <vector>

// The numbers above 8 of the serial ports among DOS device names ("COM11"),
// in increasing order, each once.
std::vector<int> SerialPortsBeyondCom8(const std::vector<std::string>& deviceNames);

// The lines the report adds after " UPS NOT FOUND !" for those ports: the
// names text followed by the ports ("COM9, COM11"), then the advice text.
// Empty when there are no such ports.
std::string PortsBeyondCom8Lines(const std::vector<int>& ports, const std::string& namesText,
                                 const std::string& adviceText);
