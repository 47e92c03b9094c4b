#include "platform/SerialChannel.h"

#include "platform/SerialErrors.h"

void SerialChannel::SetComNumber(int16_t n) {
  if (n == comNumber_) return;
  const bool wasOpen = open_;
  SetOpen(false);
  comNumber_ = n;
  if (wasOpen) SetOpen(true);
}

void SerialChannel::SetOpen(bool on) {
  if (on == open_) return;
  if (on) {
    OpenDevice(comNumber_);
    open_ = true;
  } else {
    open_ = false;
    received_.clear();
    readAt_ = 0;
    CloseDevice();
  }
}

void SerialChannel::WriteText(const std::string& text) {
  if (!open_) throw ESerialIO("The serial port is not open");
  WriteDevice(text);
}

uint8_t SerialChannel::ReadChar() {
  if (readAt_ == received_.size()) throw ESerialIO("No received byte is waiting");
  const auto byte = static_cast<uint8_t>(received_[readAt_++]);
  if (readAt_ == received_.size()) {
    received_.clear();
    readAt_ = 0;
  }
  return byte;
}

bool SerialChannel::DSR() {
  return open_ && DeviceDsr();
}

void SerialChannel::Received(const uint8_t* bytes, uint16_t count) {
  if (!open_ || count == 0) return;
  received_.append(reinterpret_cast<const char*>(bytes), count);
  if (OnTriggerAvail) OnTriggerAvail(*this, count);
}
