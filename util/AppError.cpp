#include "util/AppError.h"

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
    return message + ".";
  return message;
}

std::string WithCause(const std::string& failure, const std::string& cause) {
  return cause.empty() ? failure : failure + ": " + cause;
}

std::string FormatMessageText(const std::string& pattern, const std::string& argument) {
  std::string text = pattern;
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, argument);
  return text;
}
