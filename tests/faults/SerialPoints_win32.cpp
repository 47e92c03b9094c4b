#include "faults/SerialPoints_win32.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "faults/FaultPlan.h"
#include "faults/FaultPoints_win32.h"
#include "platform/win32/Handle.h"

namespace {

constexpr DWORD kSettleLimitMs = 10000;
constexpr DWORD kPipeBuffer = 4096;
const std::string kProbe = "V?\r\n";

// A port the channel has open.
struct Device {
  int port = 0;
  Handle ups;              // the UPS's end of the pipe
  Handle reader;           // the thread reading the channel's end, from its first read on
  DWORD readerId = 0;
  bool used = false;       // the opening is over: the channel writes, asks or closes
  bool waiting = false;    // that thread waits for bytes or its end
  size_t onTheirWay = 0;   // sent by the UPS, not yet taken by that thread
};

struct Ports {
  std::mutex lock;
  DWORD windowsThread = 0;
  std::map<int, std::string> answers;  // by port number
  std::map<HANDLE, Device> open;       // by the channel's handle
  unsigned pipes = 0;
  bool stuck = false;
};

Ports& State() {
  static Ports ports;
  return ports;
}

bool OnWindowsThread() {
  return GetCurrentThreadId() == State().windowsThread;
}

// Both threads wait and ask for results: the reading thread's calls are its seam.
Seam SeamOfThisThread() {
  return OnWindowsThread() ? Seam::Serial : Seam::SerialReceive;
}

// The n of "\\.\COMn"; 0 for any other name.
int PortOf(LPCWSTR name) {
  const std::wstring text = name;
  const std::wstring prefix = L"\\\\.\\COM";
  return text.rfind(prefix, 0) == 0 ? _wtoi(text.c_str() + prefix.size()) : 0;
}

// One transfer on the UPS's end, waited for; the count of bytes moved.
DWORD Transfer(HANDLE end, bool write, char* bytes, DWORD size) {
  OVERLAPPED transfer{};
  Handle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  transfer.hEvent = done.Get();
  const BOOL started = write ? WriteFile(end, bytes, size, nullptr, &transfer)
                             : ReadFile(end, bytes, size, nullptr, &transfer);
  DWORD moved = 0;
  if (!started && GetLastError() != ERROR_IO_PENDING) return 0;
  return GetOverlappedResult(end, &transfer, &moved, TRUE) ? moved : 0;
}

// The UPS takes the query the channel wrote, and answers a probe.
void Answer(HANDLE device, DWORD size) {
  Ports& ports = State();
  HANDLE end = nullptr;
  std::string answer;
  {
    std::lock_guard<std::mutex> hold(ports.lock);
    const auto found = ports.open.find(device);
    if (found == ports.open.end()) return;
    end = found->second.ups.Get();
    answer = ports.answers[found->second.port];
  }
  std::string query(size, '\0');
  for (DWORD got = 0, more = 1; got < size && more; got += more) more = Transfer(end, false, &query[got], size - got);
  if (query != kProbe) return;
  {
    // Counted before they go, so that no wait sees them missing.
    std::lock_guard<std::mutex> hold(ports.lock);
    ports.open.at(device).onTheirWay += answer.size();
  }
  Transfer(end, true, answer.data(), static_cast<DWORD>(answer.size()));
}

// The channel's handle closed without its own close (a failed opening
// closes it through the handle class): the UPS's end is disconnected.
bool Closed(const Device& device) {
  DWORD waiting = 0;
  return !PeekNamedPipe(device.ups.Get(), nullptr, 0, nullptr, &waiting, nullptr);
}

// While the port opens, the windows' thread calls alone; once the channel
// uses it, its reading thread has started.
bool Settled(const Device& device) {
  if (!device.reader.Valid()) return !device.used;
  if (WaitForSingleObject(device.reader.Get(), 0) == WAIT_OBJECT_0) return true;
  return device.waiting && device.onTheirWay == 0;
}

// The calls on an open port first wait for its reading thread.
void Use(HANDLE device) {
  std::lock_guard<std::mutex> hold(State().lock);
  if (const auto found = State().open.find(device); found != State().open.end()) found->second.used = true;
}

Device* ReadersDevice() {
  for (auto& [handle, device] : State().open)
    if (device.readerId == GetCurrentThreadId()) return &device;
  return nullptr;
}

}  // namespace

namespace emulated_ports {

void Reset() {
  Ports& ports = State();
  std::lock_guard<std::mutex> hold(ports.lock);
  ports.windowsThread = GetCurrentThreadId();
  ports.answers.clear();
  ports.open.clear();
  ports.stuck = false;
}

void AddUps(int n, const std::string& answer) {
  std::lock_guard<std::mutex> hold(State().lock);
  State().answers[n] = answer;
}

void Settle() {
  Ports& ports = State();
  if (!OnWindowsThread()) return;
  const ULONGLONG deadline = GetTickCount64() + kSettleLimitMs;
  for (;;) {
    {
      std::lock_guard<std::mutex> hold(ports.lock);
      std::erase_if(ports.open, [](const auto& entry) { return Closed(entry.second); });
      if (ports.stuck ||
          std::all_of(ports.open.begin(), ports.open.end(), [](const auto& entry) { return Settled(entry.second); }))
        return;
      if (GetTickCount64() > deadline) {
        ports.stuck = true;
        return;
      }
    }
    Sleep(1);
  }
}

bool Stuck() {
  std::lock_guard<std::mutex> hold(State().lock);
  return State().stuck;
}

}  // namespace emulated_ports

HANDLE WINAPI PortCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (Faults().Fails(Seam::SerialOpen)) {
    FailAsPlanned();
    return INVALID_HANDLE_VALUE;
  }
  Ports& ports = State();
  std::lock_guard<std::mutex> hold(ports.lock);
  const int port = PortOf(name);
  if (!ports.answers.count(port)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::wstring pipe = L"\\\\.\\pipe\\ombrel-faults-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++ports.pipes);
  Handle ups(CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                              PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, kPipeBuffer, kPipeBuffer, 0,
                              nullptr));
  if (!ups.Valid()) return INVALID_HANDLE_VALUE;
  HANDLE device = CreateFileW(pipe.c_str(), access, share, security, disposition, flags, templateFile);
  if (device == INVALID_HANDLE_VALUE) return device;
  Device& opened = ports.open[device] = Device{};
  opened.port = port;
  opened.ups = std::move(ups);
  return device;
}

BOOL WINAPI PortSetupComm(HANDLE, DWORD, DWORD) {
  return Faults().Fails(Seam::Serial) ? FailAsPlanned() : TRUE;
}

// A port as the system leaves it: 9600 bauds, 8 data bits, no parity, one stop bit.
BOOL WINAPI PortGetCommState(HANDLE, LPDCB dcb) {
  if (Faults().Fails(Seam::Serial)) return FailAsPlanned();
  const DWORD length = dcb->DCBlength;
  *dcb = DCB{};
  dcb->DCBlength = length;
  dcb->BaudRate = CBR_9600;
  dcb->ByteSize = 8;
  dcb->fBinary = TRUE;
  return TRUE;
}

BOOL WINAPI PortSetCommState(HANDLE, LPDCB) {
  return Faults().Fails(Seam::Serial) ? FailAsPlanned() : TRUE;
}

BOOL WINAPI PortSetCommTimeouts(HANDLE, LPCOMMTIMEOUTS) {
  return Faults().Fails(Seam::Serial) ? FailAsPlanned() : TRUE;
}

BOOL WINAPI PortPurgeComm(HANDLE, DWORD) {
  return Faults().Fails(Seam::Serial) ? FailAsPlanned() : TRUE;
}

// The UPS holds its DSR line off.
BOOL WINAPI PortGetCommModemStatus(HANDLE device, LPDWORD status) {
  Use(device);
  if (Faults().Fails(Seam::Serial)) return FailAsPlanned();
  *status = 0;
  return TRUE;
}

HANDLE WINAPI PortCreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCWSTR name) {
  if (Faults().Fails(Seam::Serial)) {
    FailAsPlanned();
    return nullptr;
  }
  return CreateEventW(security, manual, initial, name);
}

// Only the reading thread reads: its first read makes it the device's reader.
BOOL WINAPI PortReadFile(HANDLE device, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  {
    std::lock_guard<std::mutex> hold(State().lock);
    const auto found = State().open.find(device);
    if (found != State().open.end() && !found->second.reader.Valid()) {
      found->second.reader = Handle(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()));
      found->second.readerId = GetCurrentThreadId();
    }
  }
  if (Faults().Fails(SeamOfThisThread())) return FailAsPlanned();
  return ReadFile(device, buffer, size, read, overlapped);
}

// What the UPS answers is taken by the reading thread before the write
// returns: the announcement is posted by then.
BOOL WINAPI PortWriteFile(HANDLE device, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  Use(device);
  if (Faults().Fails(Seam::Serial)) return FailAsPlanned();
  const BOOL done = WriteFile(device, buffer, size, written, overlapped);
  const DWORD error = GetLastError();
  if (done || error == ERROR_IO_PENDING) {
    Answer(device, size);
    emulated_ports::Settle();
  }
  SetLastError(error);
  return done;
}

// A failing result comes once the transfer is over, as the system's does.
BOOL WINAPI PortGetOverlappedResult(HANDLE device, LPOVERLAPPED overlapped, LPDWORD done, BOOL wait) {
  const bool fails = Faults().Fails(SeamOfThisThread());
  const BOOL result = GetOverlappedResult(device, overlapped, done, wait);
  if (!OnWindowsThread()) {
    std::lock_guard<std::mutex> hold(State().lock);
    if (Device* read = ReadersDevice()) read->onTheirWay -= std::min<size_t>(read->onTheirWay, *done);
  }
  return fails ? FailAsPlanned() : result;
}

DWORD WINAPI PortWaitForSingleObject(HANDLE object, DWORD ms) {
  if (Faults().Fails(SeamOfThisThread())) {
    FailAsPlanned();
    return WAIT_FAILED;
  }
  return WaitForSingleObject(object, ms);
}

// Only the reading thread waits for several: for bytes or its end.
DWORD WINAPI PortWaitForMultipleObjects(DWORD count, const HANDLE* objects, BOOL all, DWORD ms) {
  if (Faults().Fails(SeamOfThisThread())) {
    FailAsPlanned();
    return WAIT_FAILED;
  }
  const auto note = [](bool waiting) {
    std::lock_guard<std::mutex> hold(State().lock);
    if (Device* device = ReadersDevice()) device->waiting = waiting;
  };
  note(true);
  const DWORD result = WaitForMultipleObjects(count, objects, all, ms);
  note(false);
  return result;
}

BOOL WINAPI PortPostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Faults().Fails(SeamOfThisThread())) return FailAsPlanned();
  return PostMessageW(window, message, wParam, lParam);
}

// A failing close closes all the same; the UPS's end goes with it.
BOOL WINAPI PortCloseHandle(HANDLE device) {
  Use(device);
  const bool fails = Faults().Fails(Seam::Serial);
  {
    std::lock_guard<std::mutex> hold(State().lock);
    State().open.erase(device);
  }
  if (!CloseHandle(device)) return FALSE;
  return fails ? FailAsPlanned() : TRUE;
}
