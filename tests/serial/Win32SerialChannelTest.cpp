// The Win32 serial channel on real serial devices: a pseudo-terminal pair
// whose ends tests/e2e/serial_channel.sh maps to COM1 (the channel) and COM2
// (the peer, driven here with plain Win32 calls), COM3 mapped to a missing
// device and COM4 held exclusively by another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Handle.h"
#include "platform/win32/Win32SerialChannel.h"
#include "platform/SerialErrors.h"

namespace {

constexpr int16_t kChannelPort = 1;
constexpr int16_t kPeerPort = 2;
constexpr int16_t kMissingDevicePort = 3;
constexpr int16_t kHeldPort = 4;

// The other end of the line, opened without overlapped I/O.
class Peer {
 public:
  Peer()
      : device_(CreateFileW(L"\\\\.\\COM2", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {
    COMMTIMEOUTS timeouts{10, 0, 200, 0, 2000};
    SetCommTimeouts(device_.Get(), &timeouts);
  }
  bool Ready() const { return device_.Valid(); }
  void Send(const std::string& bytes) {
    DWORD sent = 0;
    WriteFile(device_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &sent, nullptr);
    ASSERT_EQ(sent, bytes.size());
  }
  // What arrives within about `ms`.
  std::string Receive(DWORD ms) {
    std::string got;
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
      char buffer[4096];
      DWORD count = 0;
      if (ReadFile(device_.Get(), buffer, sizeof buffer, &count, nullptr)) got.append(buffer, count);
    }
    return got;
  }

 private:
  Handle device_;
};

// Runs the message loop of this thread for about `ms`.
void PumpFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

class Win32SerialChannelTest : public ::testing::Test {
 protected:
  Win32SerialChannelTest() {
    channel.OnTriggerAvail = [this](SerialChannel& sender, uint16_t count) {
      counts.push_back(count);
      threads.push_back(GetCurrentThreadId());
      for (uint16_t i = 0; i < count; ++i) received += static_cast<char>(sender.ReadChar());
    };
  }
  void SetUp() override {
    ASSERT_TRUE(peer.Ready()) << "COM2 is not mapped: run tests/e2e/serial_channel.sh";
    channel.SetComNumber(kChannelPort);
  }

  std::vector<std::string> failures;
  Win32SerialChannel channel{[this](const std::string& text) { failures.push_back(text); }};
  Peer peer;
  std::vector<uint16_t> counts;
  std::vector<DWORD> threads;
  std::string received;
};

TEST_F(Win32SerialChannelTest, BytesBothWaysArriveUnchangedAndNotificationsRunOnTheGuiThread) {
  channel.SetOpen(true);
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  channel.WriteText("V?\r\n" + everyByte);
  EXPECT_EQ(peer.Receive(500), "V?\r\n" + everyByte);

  peer.Send("#TARVEXI QZ");
  PumpFor(200);
  peer.Send(" 1.0\r\n" + everyByte);
  PumpFor(300);
  EXPECT_EQ(received, "#TARVEXI QZ 1.0\r\n" + everyByte);
  int announced = 0;
  for (uint16_t count : counts) announced += count;
  EXPECT_EQ(announced, static_cast<int>(received.size()));
  EXPECT_GE(counts.size(), 2u);
  for (DWORD thread : threads) EXPECT_EQ(thread, GetCurrentThreadId());
  EXPECT_TRUE(failures.empty());
}

TEST_F(Win32SerialChannelTest, NoNotificationRunsAfterClosingEvenOneAlreadyQueued) {
  channel.SetOpen(true);
  peer.Send("queued before closing\r\n");
  Sleep(300);  // the reader has received and posted; the GUI thread has not run it
  channel.SetOpen(false);
  PumpFor(200);
  EXPECT_TRUE(counts.empty());

  // Nor does it reach the next opening of the same port.
  channel.SetOpen(true);
  PumpFor(200);
  EXPECT_TRUE(counts.empty());
  peer.Send("fresh\n");
  PumpFor(300);
  EXPECT_EQ(received, "fresh\n");
}

TEST_F(Win32SerialChannelTest, DsrIsFalseWhenClosedAndWhenTheDeviceCannotSay) {
  EXPECT_FALSE(channel.DSR());
  channel.SetOpen(true);
  EXPECT_FALSE(channel.DSR());  // a pseudo-terminal has no modem lines
}

TEST_F(Win32SerialChannelTest, PortsThatCannotBeUsedFailWithAPortUnusableKindAndStayClosed) {
  for (int16_t n : {kMissingDevicePort, kHeldPort, int16_t{200}}) {
    SCOPED_TRACE(n);
    channel.SetComNumber(n);
    try {
      channel.SetOpen(true);
      ADD_FAILURE() << "COM" << n << " opened";
    } catch (const PortUnusable&) {
    }
    EXPECT_FALSE(channel.Open());
    EXPECT_FALSE(channel.DSR());
  }
  channel.SetComNumber(200);
  EXPECT_THROW(channel.SetOpen(true), EBadId);
  channel.SetComNumber(kHeldPort);
  EXPECT_THROW(channel.SetOpen(true), EAlreadyOpen);
}

TEST_F(Win32SerialChannelTest, AFloodKeepsTheOrderOfBytesAndLeavesRoomForTimerTicks) {
  channel.SetOpen(true);
  std::string flood;
  std::thread sender([&] {
    const ULONGLONG end = GetTickCount64() + 1500;
    for (int i = 0; GetTickCount64() < end; ++i) {
      std::string piece;
      for (int j = 0; j < 100; ++j) piece += std::to_string(i * 100 + j) + ",";
      peer.Send(piece);
      flood += piece;
    }
  });
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, nullptr);
  int ticks = 0;
  const ULONGLONG floodEnd = GetTickCount64() + 1500;
  while (GetTickCount64() < floodEnd) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_TIMER && message.wParam == timer) ++ticks;
      DispatchMessageW(&message);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  KillTimer(nullptr, timer);
  sender.join();
  PumpFor(1000);
  EXPECT_GT(flood.size(), 100000u) << "the flood was too thin to tell";
  EXPECT_EQ(received.size(), flood.size());
  EXPECT_TRUE(received == flood) << "bytes out of order or changed";
  EXPECT_GT(ticks, 10) << "timer ticks starved by the notifications";
  std::printf("flood %zu bytes, %d ticks, %zu notifications\n", flood.size(), ticks, counts.size());
}

}  // namespace
