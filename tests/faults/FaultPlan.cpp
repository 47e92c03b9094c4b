#include "faults/FaultPlan.h"

#include <algorithm>

const char* NameOf(FaultKind kind) {
  switch (kind) {
    case FaultKind::AccessDenied:
      return "access denied";
    case FaultKind::SharingViolation:
      return "sharing violation";
    case FaultKind::DiskFull:
      return "disk full";
    case FaultKind::ReadError:
      return "read error";
    case FaultKind::Refused:
      return "refused";
  }
  return "?";
}

std::vector<FaultKind> KindsOf(Seam seam) {
  switch (seam) {
    case Seam::FileOpen:
    case Seam::FileReplace:
      return {FaultKind::AccessDenied, FaultKind::SharingViolation};
    case Seam::FileRead:
      return {FaultKind::ReadError};
    case Seam::FileWrite:
    case Seam::FileFlush:
      return {FaultKind::DiskFull};
    case Seam::Registry:
      return {FaultKind::AccessDenied};
    case Seam::Dialog:
    case Seam::Shell:
    case Seam::Serial:
      return {FaultKind::Refused};
  }
  return {};
}

bool FaultPlan::Fails(Seam seam) {
  if (!armed_) return false;
  seams_.push_back(seam);
  if (++calls_ != failAt_) return false;
  const std::vector<FaultKind> kinds = KindsOf(seam);
  if (std::find(kinds.begin(), kinds.end(), kind_) == kinds.end()) return false;
  fired_ = true;
  return true;
}

FaultPlan& Faults() {
  static FaultPlan plan;
  return plan;
}
