#include "settings/SaveOrder.h"

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"
#include "util/FolderOf.h"

namespace {

RegistryView Other(RegistryView view) {
  return view == RegistryView::k32Bit ? RegistryView::k64Bit : RegistryView::k32Bit;
}

// The entry is written where the monitor's entry already is: the 64-bit view
// when it is found there alone, else the 32-bit view the monitor's own
// installer uses. It is then removed from the other view, so that the
// monitor never starts twice.
void SetRunEntry(const SaveSeams& seams) {
  std::string monitor = FolderOf(seams.shell.ShortPath(seams.programPath)) + kMonitorName;
  // A short form that still holds a blank (a volume without short names)
  // would be cut at the blank when the entry runs: quote it then.
  if (monitor.find(' ') != std::string::npos) monitor = "\"" + monitor + "\"";
  const RegistryView view = !seams.registry.ReadString(kRunKey, kRunEntry, RegistryView::k32Bit) &&
                                    seams.registry.ReadString(kRunKey, kRunEntry, RegistryView::k64Bit)
                                ? RegistryView::k64Bit
                                : RegistryView::k32Bit;
  seams.registry.SetString(kRunKey, kRunEntry, monitor, view);
  seams.registry.DeleteValue(kRunKey, kRunEntry, Other(view));
}

}  // namespace

void SaveInOrder(const SaveSeams& seams, bool runAtStartup, TSchedule& schedule, TINI& settings,
                 const std::function<void()>& afterSchedule) {
  if (runAtStartup) SetRunEntry(seams);
  schedule.SaveSchedule();
  afterSchedule();
  settings.Save();
  fs_seam::FlushFolder(FolderOf(settings.Path));
  // Removed only once the files that say so are written: a write that fails
  // before leaves the monitor starting at log-on with the files it had.
  if (!runAtStartup) {
    seams.registry.DeleteValue(kRunKey, kRunEntry, RegistryView::k32Bit);
    seams.registry.DeleteValue(kRunKey, kRunEntry, RegistryView::k64Bit);
  }
  seams.registry.SetNumber(kProgramKey, "SETUP", 1);
}
