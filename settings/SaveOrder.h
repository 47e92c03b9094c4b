#pragma once
// The order of OK's writes, kept in one place: the start-up entry, the
// schedule, the settings, then SETUP=1; an entry to remove goes after the
// settings instead. Each step runs only when the one before it succeeded, so
// the monitor, which reads SETUP as "the files are ready", never sees it over
// files that were not written, and never loses its start-up entry over files
// that still say it starts; a failure stops the order where it happened and
// is thrown to the caller.
#include <functional>
#include <string>

class IRegistry;
class IShell;
class TINI;
class TSchedule;

// The program's own registry key, under HKEY_LOCAL_MACHINE; and the key of
// the programs Windows starts at log-on, where the monitor's entry goes.
inline constexpr char kProgramKey[] = "SOFTWARE\\Tarvexi\\Ombrel";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The monitor's program, which these settings are for; it lies in their folder.
inline constexpr char kMonitorName[] = "SPY.EXE";
// The monitor's start-up entry under kRunKey, in one registry view.
inline constexpr char kRunEntry[] = "OMB_SPY";

struct SaveSeams {
  IRegistry& registry;
  IShell& shell;
  const std::string& programPath;  // the running program: the monitor lies beside it
};

// Writes the start-up entry, the schedule, the settings and SETUP, in that
// order; or, when the monitor is not to start at log-on, the schedule, the
// settings, the entry's removal from both registry views and SETUP. afterSchedule runs between the schedule and the
// settings (the fields read last, which may still stop OK). Once the settings
// are in place, their folder's entries are made durable where the system
// allows, before SETUP is set.
void SaveInOrder(const SaveSeams& seams, bool runAtStartup, TSchedule& schedule, TINI& settings,
                 const std::function<void()>& afterSchedule);
