#pragma once
// An event log in memory that can be told to refuse every entry.
#include <string>
#include <vector>

#include "platform/EventLog.h"

class FakeEventLog : public IEventLog {
 public:
  struct Entry {
    Kind kind;
    std::string text;
  };
  std::vector<Entry> entries;
  bool refuses = false;  // as a log without the program's source, or one that is full

  bool Add(Kind kind, const std::string& text) override {
    if (refuses || Refused()) return false;
    entries.push_back({kind, text});
    return true;
  }
  std::string Account() const override { return "PC7\\admin"; }

 protected:
  virtual bool Refused() { return false; }
};
