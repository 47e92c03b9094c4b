#include "platform/win32/Win32SerialChannel.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/SerialErrors.h"

namespace {

constexpr UINT kBytesArrived = WM_APP + 1;  // wParam: the opening the bytes belong to
constexpr DWORD kReadChunk = 4096;
// What waits for the GUI thread is held at this size, so that every count
// fits in 16 bits and a flood cannot grow memory without end.
constexpr size_t kWaitingLimit = 16384;
// A pause after each notification, so that input, painting and timer ticks
// run between the notifications of a flood (they come after posted messages).
constexpr DWORD kPauseMs = 15;
// A read ends this long after the last byte of a burst. (Under Wine 8 an
// overlapped read with the "return at once with what is there" timeouts
// never completes on its own; the gap between bytes works on both.)
constexpr DWORD kByteGapMs = 10;
constexpr DWORD kWriteTimeoutMs = 2000;

std::string PortName(int16_t n) {
  return "COM" + std::to_string(n);
}

std::string WithError(const std::string& text, DWORD error) {
  return text + " (system error " + std::to_string(error) + ")";
}

// CreateFileW's failures as failure kinds. A port held by another program
// gives ERROR_ACCESS_DENIED on Windows; under Wine a port held exclusively
// by a Linux program gives ERROR_LOCK_VIOLATION.
[[noreturn]] void FailToCreate(int16_t n, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_UNIT:
      throw EBadId(PortName(n) + " does not exist");
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
      throw EAlreadyOpen(PortName(n) + " is in use by another program");
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      throw EOutOfMemory("Out of memory opening " + PortName(n));
    default:
      throw ENoHandles(WithError(PortName(n) + " cannot be opened", error));
  }
}

// The fixed line settings. DTR and RTS are given here too: raising DTR with
// a separate call fails on devices without modem lines (a pseudo-terminal
// under Wine), which still carry the bytes.
void SetLineSettings(DCB& dcb) {
  dcb.BaudRate = SerialSettings::Baud;
  dcb.ByteSize = SerialSettings::DataBits;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
}

Handle NewEvent() {
  Handle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event.Valid()) throw ENoHandles(WithError("No event for the serial port", GetLastError()));
  return event;
}

}  // namespace

// Receives in the background for one opening of the device, from its making
// until its end.
class Win32SerialChannel::Reader {
 public:
  Reader(HANDLE device, HWND window, uintptr_t opening)
      : device_(device), window_(window), opening_(opening), stop_(NewEvent()), readDone_(NewEvent()) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error& failure) {
      throw ENoHandles(std::string("No thread to receive: ") + failure.what());
    }
  }
  ~Reader() {
    SetEvent(stop_.Get());
    thread_.join();
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // Everything received since the last call; the next bytes are announced anew.
  std::vector<uint8_t> Take() {
    std::lock_guard<std::mutex> hold(lock_);
    announced_ = false;
    return std::exchange(waiting_, {});
  }

  // The system error that ended receiving; 0 while receiving goes on.
  DWORD Failure() const { return failure_; }

 private:
  void Run() {
    OVERLAPPED read{};
    read.hEvent = readDone_.Get();
    std::vector<uint8_t> buffer(kReadChunk);
    for (;;) {
      if (Full()) {
        if (Stopped(kPauseMs)) return;
        continue;
      }
      // A device that fails (unplugged, its other end gone) ends receiving.
      if (!ReadFile(device_, buffer.data(), kReadChunk, nullptr, &read) && GetLastError() != ERROR_IO_PENDING)
        return Fail();
      const HANDLE events[] = {stop_.Get(), read.hEvent};
      DWORD got = 0;
      const DWORD woken = WaitForMultipleObjects(2, events, FALSE, INFINITE);
      if (woken != WAIT_OBJECT_0 + 1) {
        if (woken != WAIT_OBJECT_0) Fail();  // not stopped: the wait itself failed
        CancelIo(device_);
        GetOverlappedResult(device_, &read, &got, TRUE);
        return;
      }
      if (!GetOverlappedResult(device_, &read, &got, FALSE)) return Fail();
      // An empty read waits a little too, so that a device that keeps
      // answering nothing does not keep the thread busy.
      const bool pause = got == 0 || Store(buffer.data(), got);
      if (pause && Stopped(kPauseMs)) return;
    }
  }

  // Keeps the bytes; true when a notification was posted for them.
  bool Store(const uint8_t* bytes, DWORD count) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      waiting_.insert(waiting_.end(), bytes, bytes + count);
      if (announced_) return false;  // the notification on its way takes these too
      announced_ = true;
    }
    if (PostMessageW(window_, kBytesArrived, opening_, 0)) return true;
    std::lock_guard<std::mutex> hold(lock_);
    announced_ = false;
    return false;
  }

  bool Full() {
    std::lock_guard<std::mutex> hold(lock_);
    return waiting_.size() >= kWaitingLimit;
  }

  bool Stopped(DWORD ms) { return WaitForSingleObject(stop_.Get(), ms) == WAIT_OBJECT_0; }

  // Receiving ends on a failure of the device; the next write reports it.
  void Fail() {
    const DWORD error = GetLastError();
    failure_ = error ? error : ERROR_GEN_FAILURE;
  }

  const HANDLE device_;
  const HWND window_;
  const uintptr_t opening_;
  Handle stop_;
  Handle readDone_;
  std::mutex lock_;
  std::vector<uint8_t> waiting_;  // received, not yet taken by the GUI thread
  bool announced_ = false;        // a notification is posted and has not run yet
  std::atomic<DWORD> failure_ = 0;
  std::thread thread_;            // last: starts once everything above exists
};

Win32SerialChannel::Win32SerialChannel(std::function<void(const std::string&)> showFailure)
    : showFailure_(std::move(showFailure)) {}

Win32SerialChannel::~Win32SerialChannel() {
  SetOpen(false);
  if (window_) DestroyWindow(window_);
}

// The window is made at the first opening: most runs of the program never
// open a port, and every window costs start-up time.
void Win32SerialChannel::EnsureWindow() {
  if (window_) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW info{};
  if (!GetClassInfoExW(instance, L"OmbrelSerialChannel", &info)) {
    info.cbSize = sizeof info;
    info.lpfnWndProc = NotificationProcedure;
    info.hInstance = instance;
    info.lpszClassName = L"OmbrelSerialChannel";
    RegisterClassExW(&info);
  }
  window_ =
      CreateWindowExW(0, L"OmbrelSerialChannel", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  if (!window_) throw ENoHandles(WithError("No window for the serial port", GetLastError()));
}

LRESULT CALLBACK Win32SerialChannel::NotificationProcedure(HWND window, UINT message, WPARAM wParam,
                                                           LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<Win32SerialChannel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != kBytesArrived || !self) return DefWindowProcW(window, message, wParam, lParam);
  try {
    self->Announce(wParam);
  } catch (const std::exception& failure) {
    if (self->showFailure_) self->showFailure_(ErrorBoxText(failure.what()));
  } catch (...) {
    if (self->showFailure_) self->showFailure_("Unknown failure");
  }
  return 0;
}

void Win32SerialChannel::Announce(uintptr_t opening) {
  if (opening != opening_ || !reader_ || !Open()) return;
  const std::vector<uint8_t> bytes = reader_->Take();
  if (!bytes.empty()) Received(bytes.data(), static_cast<uint16_t>(bytes.size()));
}

void Win32SerialChannel::OpenDevice(int16_t n) {
  EnsureWindow();
  const std::wstring name = L"\\\\.\\COM" + std::to_wstring(n);
  Handle device(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr));
  if (!device.Valid()) FailToCreate(n, GetLastError());
  // Every step is checked: under Wine a port mapped to a missing device
  // gives a handle and fails only here, and writing to it would hang.
  if (!SetupComm(device.Get(), SerialSettings::InSize, SerialSettings::OutSize))
    throw EMemory(WithError(PortName(n) + " refused its buffer sizes", GetLastError()));
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(device.Get(), &dcb))
    throw EHardware(WithError(PortName(n) + " does not answer as a serial port", GetLastError()));
  SetLineSettings(dcb);
  if (!SetCommState(device.Get(), &dcb))
    throw EDefault(WithError(PortName(n) + " refused the line settings", GetLastError()));
  COMMTIMEOUTS timeouts{kByteGapMs, 0, 0, 0, kWriteTimeoutMs};
  if (!SetCommTimeouts(device.Get(), &timeouts))
    throw EDefault(WithError(PortName(n) + " refused the timeouts", GetLastError()));
  // Bytes an earlier opening left unread are not this opening's.
  PurgeComm(device.Get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
  if (!writeDone_.Valid()) writeDone_ = NewEvent();

  reader_ = std::make_unique<Reader>(device.Get(), window_, ++opening_);
  device_ = std::move(device);
  port_ = n;
}

// Closed by the channel's own call rather than the handle class's, so that
// the fault tests reach it; a failing close has nothing to undo.
void Win32SerialChannel::CloseDevice() {
  reader_.reset();
  if (device_.Valid()) CloseHandle(device_.Release());
}

// A port that no longer receives is not written to: what it would answer
// could never be read, and the caller learns now that the port is lost.
void Win32SerialChannel::WriteDevice(const std::string& bytes) {
  if (const DWORD failure = reader_ ? reader_->Failure() : 0)
    throw ESerialIO(WithError("Receiving from " + PortName(port_) + " failed", failure));
  OVERLAPPED write{};
  write.hEvent = writeDone_.Get();
  const DWORD size = static_cast<DWORD>(bytes.size());
  DWORD sent = 0;
  if (!WriteFile(device_.Get(), bytes.data(), size, nullptr, &write)) {
    if (GetLastError() != ERROR_IO_PENDING)
      throw ESerialIO(WithError("Writing to " + PortName(port_) + " failed", GetLastError()));
    // A device that takes nothing must not hold the window.
    if (WaitForSingleObject(write.hEvent, kWriteTimeoutMs) != WAIT_OBJECT_0) {
      CancelIo(device_.Get());
      GetOverlappedResult(device_.Get(), &write, &sent, TRUE);
      throw ESerialIO("Writing to " + PortName(port_) + " timed out");
    }
  }
  if (!GetOverlappedResult(device_.Get(), &write, &sent, FALSE))
    throw ESerialIO(WithError("Writing to " + PortName(port_) + " failed", GetLastError()));
  if (sent != size) throw ESerialIO("Writing to " + PortName(port_) + " stopped short");
}

bool Win32SerialChannel::DeviceDsr() {
  DWORD status = 0;
  return GetCommModemStatus(device_.Get(), &status) && (status & MS_DSR_ON) != 0;
}
