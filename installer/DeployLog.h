#pragma once
// The installer's own record of its imports, kept whether or not the
// installer writes a log: %ProgramData%\Tarvexi\Ombrel\deploy.log, UTF-8,
// one line each, every line after the date and time (UTC) it was written.
#include <string>

// Adds the line; a log that cannot be written is passed over (the
// installer's log has the same lines).
void AddToDeployLog(const std::wstring& line);
