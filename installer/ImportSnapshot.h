#pragma once
// What an import may change, noted before it runs and put back when the
// install is rolled back: omb.ini and SCHEDULE.TXT in the install folder,
// the start-up entry OMB_SPY in each registry view and SETUP (32-bit view).
// The notes are files in a folder of their own: a copy of each file there
// was, and "state", written last, which lists what was there and what was
// not; notes without "state" are incomplete and never put back.
#include <string>
#include <vector>

// Notes what is there now into the folder notes (which exists, empty).
// Gives the reason when something could not be read or noted; the import
// must then not run.
std::wstring TakeSnapshot(const std::wstring& installFolder, const std::wstring& notes);

// Puts back what the notes say, leaving alone what is already as it was
// (a file another program holds open may then stay). One line for each thing
// put back or that could not be; none when the notes are incomplete.
std::vector<std::wstring> RestoreSnapshot(const std::wstring& installFolder, const std::wstring& notes);

// Removes the notes folder and what is in it.
void RemoveNotes(const std::wstring& notes);
