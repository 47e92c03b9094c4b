#include "app/SetupLock.h"

// after windows.h
#include <sddl.h>

namespace {

// In the global namespace, so that a window in another user's session, or a
// run as SYSTEM in session 0, meets the same lock.
constexpr wchar_t kLockName[] = L"Global\\Tarvexi.Ombrel.Setup";

}  // namespace

SetupLock::SetupLock() {
  // Every administrator and SYSTEM may take it, whoever made it first: the
  // default rights of a SYSTEM process would shut the administrators out.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;SY)(A;;GA;;;BA)", SDDL_REVISION_1, &descriptor,
                                                       nullptr);
  SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
  mutex_ = CreateMutexW(descriptor ? &security : nullptr, FALSE, kLockName);
  if (descriptor) LocalFree(descriptor);
  // A lock that cannot be opened (refused to this account) is another's.
  if (!mutex_) return;
  const DWORD waited = WaitForSingleObject(mutex_, 0);
  // Abandoned: its holder ended without letting go; it is ours now.
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

SetupLock::~SetupLock() {
  if (held_) ReleaseMutex(mutex_);
  if (mutex_) CloseHandle(mutex_);
}
