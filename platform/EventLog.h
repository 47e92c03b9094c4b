#pragma once
// Entries in the Windows Application event log under the program's source:
// what a run or the window's OK changed on this PC, and why a run failed, for
// the administrators who audit a fleet. Tests give a log of their own.
#include <string>

class IEventLog {
 public:
  enum class Kind { Information, Error };
  virtual ~IEventLog() = default;
  // Adds one entry; false when it could not be added. Never throws: an entry
  // that cannot be written must not fail what it records.
  virtual bool Add(Kind kind, const std::string& text) = 0;
  // The account this program runs under, as the entries name it: DOMAIN\name.
  virtual std::string Account() const = 0;
};
