#pragma once
// Lines from the installer's custom actions into the installer's log.
#include <windows.h>
// after windows.h
#include <msi.h>
#include <msiquery.h>

#include <string>

// A line of the verbose log. The text is the record's field 1, not its
// template, so that brackets in a path are not read as properties.
inline void LogLine(MSIHANDLE install, const std::wstring& line) {
  PMSIHANDLE record = MsiCreateRecord(1);
  MsiRecordSetStringW(record, 0, L"[1]");
  MsiRecordSetStringW(record, 1, line.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

// Why the install fails, as an error message: it reaches a log that is not
// verbose, the installer's event and, with a user interface, a box.
inline void ErrorLine(MSIHANDLE install, const std::wstring& line) {
  PMSIHANDLE record = MsiCreateRecord(1);
  MsiRecordSetStringW(record, 0, L"[1]");
  MsiRecordSetStringW(record, 1, line.c_str());
  MsiProcessMessage(install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR),
                    record);
}
