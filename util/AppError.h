#pragma once
// A failure that travels to the operation the user started, which shows its
// text in the program's error box.
#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The text an error box shows: a full stop is appended when the last
// character sorts after ".".
std::string ErrorBoxText(const std::string& message);

// "%s"-style formatting of the program's fixed failure texts.
std::string FormatMessageText(const std::string& pattern, const std::string& argument);

// A failure text followed by its cause in the system's words, so that the
// user learns why: "Cannot create file C:\x\SCHEDULE.TXT: File in use by
// another program".
std::string WithCause(const std::string& failure, const std::string& cause);
