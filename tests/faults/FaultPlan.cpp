#include "faults/FaultPlan.h"

#include <algorithm>

const char* NameOf(FaultKind kind) {
  switch (kind) {
    case FaultKind::AccessDenied:
      return "access denied";
    case FaultKind::SharingViolation:
      return "sharing violation";
    case FaultKind::DeletePending:
      return "delete pending";
    case FaultKind::WriteError:
      return "write error";
    case FaultKind::DiskFull:
      return "disk full";
    case FaultKind::ReadError:
      return "read error";
    case FaultKind::Refused:
      return "refused";
  }
  return "?";
}

const char* NameOf(Seam seam) {
  static const char* const names[] = {"attributes", "open",     "read",   "write",         "flush",
                                      "close",      "rename",   "delete", "search",        "registry",
                                      "box",        "shell",    "serial", "folder rights", "DOS devices",
                                      "registry flush", "serial open", "serial reception", "event log"};
  return names[static_cast<int>(seam)];
}

std::vector<FaultKind> KindsOf(Seam seam) {
  switch (seam) {
    case Seam::FileAttributes:
      return {FaultKind::AccessDenied, FaultKind::SharingViolation, FaultKind::DeletePending};
    case Seam::FileOpen:
    case Seam::FileReplace:
    case Seam::SerialOpen:
      return {FaultKind::AccessDenied, FaultKind::SharingViolation};
    case Seam::FileRead:
    case Seam::SerialReceive:
      return {FaultKind::ReadError};
    case Seam::FileWrite:
    case Seam::FileFlush:
      return {FaultKind::DiskFull};
    case Seam::FileClose:
    case Seam::RegistryFlush:
      return {FaultKind::WriteError};
    case Seam::FileDelete:
    case Seam::FileSearch:
    case Seam::Registry:
      return {FaultKind::AccessDenied};
    case Seam::Dialog:
    case Seam::Shell:
    case Seam::Serial:
    case Seam::FolderRights:
    case Seam::DosDevices:
    case Seam::EventLog:
      return {FaultKind::Refused};
  }
  return {};
}

bool FaultPlan::Fails(Seam seam) {
  if (beforeEachCall) beforeEachCall();
  std::lock_guard<std::mutex> hold(lock_);
  if (!armed_) return false;
  seams_.push_back(seam);
  ++calls_;
  if (calls_ == failAt_) {
    const std::vector<FaultKind> kinds = KindsOf(seam);
    if (std::find(kinds.begin(), kinds.end(), kind_) == kinds.end()) return false;
    fired_ = true;
    firedSeam_ = seam;
    return true;
  }
  return lasting_ && fired_ && seam == firedSeam_;
}

FaultPlan& Faults() {
  static FaultPlan plan;
  return plan;
}
