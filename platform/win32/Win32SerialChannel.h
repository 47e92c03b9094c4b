#pragma once
// The serial channel over the Win32 communications API. A reader thread
// waits for bytes with overlapped reads; what it receives is announced to
// the GUI thread through a message-only window, so that every notification
// runs there, between other messages, in the order the bytes arrived.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/win32/Handle.h"
#include "platform/SerialChannel.h"

class Win32SerialChannel final : public SerialChannel {
 public:
  // showFailure: shows the text of a failure that escaped a data-available handler.
  explicit Win32SerialChannel(std::function<void(const std::string&)> showFailure);
  ~Win32SerialChannel() override;

 protected:
  void OpenDevice(int16_t n) override;
  void CloseDevice() override;
  void WriteDevice(const std::string& bytes) override;
  bool DeviceDsr() override;

 private:
  class Reader;
  static LRESULT CALLBACK NotificationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void EnsureWindow();
  // Hands what the reader has received to the handler, unless the
  // notification belongs to an opening that has been closed since.
  void Announce(uintptr_t opening);

  std::function<void(const std::string&)> showFailure_;
  HWND window_ = nullptr;
  Handle device_;
  Handle writeDone_;
  std::unique_ptr<Reader> reader_;
  int16_t port_ = 0;
  uintptr_t opening_ = 0;  // counts openings; each notification carries the one it belongs to
};
