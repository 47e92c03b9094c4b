#pragma once
// A serial channel over simulated devices, one per port number: whether the
// port opens, its DSR line, and a UPS that answers each probe with scripted
// pieces of bytes. What the device sends waits until the test delivers it,
// as the event loop would, one notification per piece.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/SerialChannel.h"
#include "platform/SerialErrors.h"

class FakeSerialChannel : public SerialChannel {
 public:
  struct Device {
    // Thrown by the opening; none: the port opens.
    std::function<void()> failOpen;
    bool dsr = false;
    bool refuseWrites = false;
    // Sent in answer to every probe "V?" CR LF, one notification per piece.
    std::vector<std::string> answer;
  };

  // Ports not listed have no device: opening them fails with EBadId.
  std::map<int, Device> devices;
  // Every write, with the port it went to.
  std::vector<std::pair<int, std::string>> written;
  int openings = 0;
  int dsrQuestions = 0;

  // A UPS on port n answering each probe with these pieces.
  void AddUps(int n, std::vector<std::string> answer) { devices[n].answer = std::move(answer); }
  // A port that opens and never answers.
  void AddSilent(int n) { devices[n]; }

  // Bytes from the device of the open port, waiting for delivery.
  void Arrive(const std::string& bytes) { waiting_.push_back(bytes); }
  bool Waiting() const { return !waiting_.empty(); }
  // Runs the notifications of everything that has arrived, in order.
  void Deliver() {
    while (!waiting_.empty()) {
      std::string piece = std::move(waiting_.front());
      waiting_.pop_front();
      Received(reinterpret_cast<const uint8_t*>(piece.data()), static_cast<uint16_t>(piece.size()));
    }
  }

  int ProbesTo(int n) const {
    int probes = 0;
    for (const auto& [port, bytes] : written)
      if (port == n && bytes == "V?\r\n") ++probes;
    return probes;
  }

 protected:
  void OpenDevice(int16_t n) override {
    auto device = devices.find(n);
    if (device == devices.end()) throw EBadId("No such port");
    if (device->second.failOpen) device->second.failOpen();
    ++openings;
    port_ = n;
  }
  // What the device sent and was not yet delivered is gone with the opening.
  void CloseDevice() override { waiting_.clear(); }
  void WriteDevice(const std::string& bytes) override {
    Device& device = devices.at(port_);
    if (device.refuseWrites) throw ESerialIO("The device took no byte");
    written.emplace_back(port_, bytes);
    if (bytes == "V?\r\n")
      for (const std::string& piece : device.answer) Arrive(piece);
  }
  bool DeviceDsr() override {
    ++dsrQuestions;
    return devices.at(port_).dsr;
  }

 private:
  int port_ = 0;
  std::deque<std::string> waiting_;
};
