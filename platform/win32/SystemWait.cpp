// The blocking wait of Windows.
#include <windows.h>

#include "platform/Wait.h"

namespace {

class WindowsWait final : public IWait {
 public:
  void Wait(unsigned milliseconds) override { Sleep(milliseconds); }
};

}  // namespace

IWait& SystemWait() {
  static WindowsWait wait;
  return wait;
}
