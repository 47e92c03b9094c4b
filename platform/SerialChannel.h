#pragma once
// The program's serial port (ComPort1): its number, its open state and the
// bytes received and not yet taken, with the rules every device below it
// shares. The device itself (the Win32 port in the program, a fake in tests)
// sits behind the protected hooks. Everything here runs on the GUI thread.
#include <cstdint>
#include <functional>
#include <string>

// The line settings in force for every port this program opens.
struct SerialSettings {
  static constexpr uint32_t Baud = 4800;
  static constexpr int DataBits = 8;
  static constexpr bool Parity = false;  // no parity
  static constexpr int StopBits = 1;
  static constexpr bool HWFlow = false;  // no hardware flow control
  static constexpr bool SWFlow = false;  // no XON/XOFF
  static constexpr int InSize = 4096;    // receive buffer, bytes
  static constexpr int OutSize = 4096;   // transmit buffer, bytes
  static constexpr bool DTR = true;      // raised while open
  static constexpr bool RTS = false;     // kept low while open
};

class SerialChannel {
 public:
  SerialChannel() = default;
  SerialChannel(const SerialChannel&) = delete;
  SerialChannel& operator=(const SerialChannel&) = delete;
  virtual ~SerialChannel() = default;

  // Port n is the device "COM<n>". Changing the number of an open port
  // closes it and opens the new one; the number in force changes nothing.
  int16_t ComNumber() const { return comNumber_; }
  void SetComNumber(int16_t n);

  // Opening an open port and closing a closed one do nothing. A failed
  // opening throws one of the failure kinds of SerialErrors.h and leaves the
  // port closed. Once closed, no notification of that opening runs.
  bool Open() const { return open_; }
  void SetOpen(bool on);

  // Sends every byte in order, nothing added. The port is never opened by a write.
  void WriteText(const std::string& text);
  // The oldest received byte not yet taken.
  uint8_t ReadChar();
  // The DSR input line, asked of the device at each call; false when closed
  // or when the device cannot say.
  bool DSR();

  // Data available: count bytes have arrived and wait to be taken with ReadChar.
  std::function<void(SerialChannel& sender, uint16_t count)> OnTriggerAvail;

 protected:
  // Opens port n at SerialSettings and starts receiving; on failure throws
  // and leaves nothing open.
  virtual void OpenDevice(int16_t n) = 0;
  // Stops receiving and closes the device.
  virtual void CloseDevice() = 0;
  virtual void WriteDevice(const std::string& bytes) = 0;
  virtual bool DeviceDsr() = 0;

  // For the device: bytes arrived (in order of arrival, at most 65535 at a
  // time); they are kept and announced to OnTriggerAvail.
  void Received(const uint8_t* bytes, uint16_t count);

 private:
  int16_t comNumber_ = 1;
  bool open_ = false;
  // Received bytes; those before readAt_ are taken.
  std::string received_;
  size_t readAt_ = 0;
};
