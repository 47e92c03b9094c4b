#pragma once
// Which call into the platform seams fails, and how. Every seam of the fault
// tests asks the plan at each call; the plan counts the calls of the operation
// under test and fails the one it was told to, in the way it was told to.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

enum class FaultKind {
  AccessDenied,      // opening, replacing, removing, writing a registry value: refused
  SharingViolation,  // another program holds the file
  DeletePending,     // the file is there but being deleted
  DiskFull,          // a write stops half-way; a flush fails
  ReadError,         // a read fails in the middle of the file; a serial port stops receiving
  WriteError,        // the closing of a written file reports a deferred write error; a registry
                     // key's flush fails after its value was set
  Refused,           // a box that cannot be shown, a serial port's call that fails
};

const char* NameOf(FaultKind kind);

// The kinds a seam's call can really have.
enum class Seam {
  FileAttributes, FileOpen, FileRead, FileWrite, FileFlush, FileClose, FileReplace, FileDelete, FileSearch,
  Registry, Dialog, Shell, Serial, FolderRights, DosDevices,
  RegistryFlush,
  SerialOpen,     // opening a port
  SerialReceive,  // the calls of the serial port's reading thread
  EventLog,       // an entry of the Windows event log
};
const char* NameOf(Seam seam);
std::vector<FaultKind> KindsOf(Seam seam);

class FaultPlan {
 public:
  // Counting only: no call fails.
  void Count() { Arm(-1, FaultKind::AccessDenied); }
  // From now on the calls are counted, and call number `at` (from 1) fails
  // with `kind` when that call can fail so; lasting, every later call of the
  // same seam fails too (a refusal that does not pass, a disk that stays full).
  void Arm(int at, FaultKind kind, bool lasting = false) {
    std::lock_guard<std::mutex> hold(lock_);
    armed_ = true;
    calls_ = 0;
    failAt_ = at;
    kind_ = kind;
    lasting_ = lasting;
    fired_ = false;
    seams_.clear();
  }
  // Calls are neither counted nor failed.
  void Disarm() {
    std::lock_guard<std::mutex> hold(lock_);
    armed_ = false;
  }

  // Called by a seam at every call, from any thread: true when this call
  // must fail (the kind is Kind()).
  bool Fails(Seam seam);
  // Runs before each call is counted, outside the plan's lock: the world
  // holds its other threads there until the order of their calls is fixed.
  std::function<void()> beforeEachCall;
  int Calls() const { return calls_; }
  bool Fired() const { return fired_; }
  FaultKind Kind() const { return kind_; }
  // The seam of each call counted so far.
  const std::vector<Seam>& Seams() const { return seams_; }

  // Files renamed into place while what was written to them had not been
  // flushed; noted by the file seam's calls whether armed or not.
  std::vector<std::string> unflushedRenames;

 private:
  bool armed_ = false;
  int calls_ = 0;
  int failAt_ = -1;
  FaultKind kind_ = FaultKind::AccessDenied;
  bool lasting_ = false;
  bool fired_ = false;
  Seam firedSeam_ = Seam::FileOpen;
  std::vector<Seam> seams_;
  std::mutex lock_;  // the serial port's reading thread calls too
};

// The one plan of the fault tests: the file seam's system calls are free
// functions and reach it from there.
FaultPlan& Faults();
