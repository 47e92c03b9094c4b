#include "settings/SaveOrder.h"

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"
#include "util/FolderOf.h"

namespace {

void WriteRunEntry(const SaveSeams& seams, bool on) {
  if (!on) {
    seams.registry.DeleteValue(kRunKey, "OMB_SPY");
    return;
  }
  std::string monitor = FolderOf(seams.shell.ShortPath(seams.programPath)) + kMonitorName;
  // A short form that still holds a blank (a volume without short names)
  // would be cut at the blank when the entry runs: quote it then.
  if (monitor.find(' ') != std::string::npos) monitor = "\"" + monitor + "\"";
  seams.registry.SetString(kRunKey, "OMB_SPY", monitor);
}

}  // namespace

void SaveInOrder(const SaveSeams& seams, bool runAtStartup, TSchedule& schedule, TINI& settings,
                 const std::function<void()>& afterSchedule) {
  WriteRunEntry(seams, runAtStartup);
  schedule.SaveSchedule();
  afterSchedule();
  settings.Save();
  fs_seam::FlushFolder(FolderOf(settings.Path));
  seams.registry.SetNumber(kProgramKey, "SETUP", 1);
}
