#pragma once
// What the main window takes from the world outside the program.
#include <string>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FolderRights.h"
#include "platform/PowerCapabilities.h"
#include "platform/DosDevices.h"
#include "platform/EventLog.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Wait.h"
#include "settings/SaveOrder.h"  // the program's registry keys
#include "util/FolderOf.h"

class StartupTrace;

struct Services {
  IDialogs& dialogs;
  IRegistry& registry;
  IShell& shell;
  const IClock& clock;
  IWait& wait;
  std::string programPath;  // the full path of the running program's file
  StartupTrace* trace = nullptr;  // notes the steps of the start when asked to
  const IFolderRights* folderRights = nullptr;  // who may change the program's folder; unchecked when null
  IDosDevices* dosDevices = nullptr;  // the computer's serial ports; none listed when null
  const IPowerCapabilities* power = nullptr;  // whether the computer can hibernate; not asked when null
  IEventLog* eventLog = nullptr;  // an entry for each OK that wrote or failed; none when null
};
