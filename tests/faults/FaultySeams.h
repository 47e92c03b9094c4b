#pragma once
// The window's other seams for the fault tests: the fakes of the other tests,
// each call asking the fault plan first and failing as the real one fails.
#include <map>
#include <optional>
#include <string>

#include "faults/FaultPlan.h"
#include "support/FakeDialogs.h"
#include "support/FakeDosDevices.h"
#include "support/FakeEventLog.h"
#include "support/FakeFolderRights.h"
#include "support/FakeShell.h"
#include "util/AppError.h"

// A box that cannot be shown answers as a closed one: No, or nothing.
class FaultyDialogs : public FakeDialogs {
 public:
  void Message(const std::string& text) override {
    if (!Faults().Fails(Seam::Dialog)) FakeDialogs::Message(text);
  }
  void Error(const std::string& text) override {
    if (!Faults().Fails(Seam::Dialog)) FakeDialogs::Error(text);
  }
  void Warn(const std::string& text) override {
    if (!Faults().Fails(Seam::Dialog)) FakeDialogs::Warn(text);
  }
  bool Confirm(const std::string& text) override {
    return !Faults().Fails(Seam::Dialog) && FakeDialogs::Confirm(text);
  }
  bool AskWarning(const std::string& text) override {
    return !Faults().Fails(Seam::Dialog) && FakeDialogs::AskWarning(text);
  }
  std::optional<std::string> BrowseForFolder(const std::string& prompt, const std::string& title) override {
    if (Faults().Fails(Seam::Dialog)) return std::nullopt;
    return FakeDialogs::BrowseForFolder(prompt, title);
  }
};

// A file the shell cannot open; the short form of a path that the system
// cannot give is the path itself.
class FaultyShell : public FakeShell {
 public:
  bool Open(const std::string& file) override { return !Faults().Fails(Seam::Shell) && FakeShell::Open(file); }
  std::string ShortPath(const std::string& path) override {
    return Faults().Fails(Seam::Shell) ? path : FakeShell::ShortPath(path);
  }
};

// Rights that cannot be read: no warning can be given.
class FaultyFolderRights : public FakeFolderRights {
 public:
  std::optional<std::vector<AccessEntry>> AccessList(const std::string& folder) const override {
    if (Faults().Fails(Seam::FolderRights)) return std::nullopt;
    return FakeFolderRights::AccessList(folder);
  }
};

// A device list the system cannot give: no port is listed.
class FaultyDosDevices : public FakeDosDevices {
 public:
  std::vector<std::string> Names() override {
    if (Faults().Fails(Seam::DosDevices)) return {};
    return FakeDosDevices::Names();
  }
};

// An event log that refuses the entry (no source, a full log).
class FaultyEventLog : public FakeEventLog {
 protected:
  bool Refused() override { return Faults().Fails(Seam::EventLog); }
};
