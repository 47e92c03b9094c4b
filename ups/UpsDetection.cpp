#include "ups/UpsDetection.h"

#include "platform/SerialErrors.h"

namespace {

// Control characters and the four framing characters of the reply are not
// part of its text.
bool Dropped(uint8_t byte) {
  return byte <= 0x1F || byte == '!' || byte == '$' || byte == '*' || byte == '@';
}

std::string SuffixOf(int code) {
  switch (code) {
    case port_code::Empty:
      return " <== Empty";
    case port_code::Soranthe:
      return " <== Soranthe Series";
    case port_code::Velto:
      return " <== Velto Series";
    case port_code::DryContact:
      return " <== Dry contact";
    case port_code::QZ:
      return " <== QZ Series";
    default:
      return " Cannot use this port";
  }
}

}  // namespace

int SeriesCodeOfPortCode(int code) {
  switch (code) {
    case port_code::QZ:
      return 3;
    case port_code::Velto:
      return 0;
    case port_code::Soranthe:
      return 1;
    case port_code::DryContact:
      return 2;
    default:
      return -1;
  }
}

UpsDetection::UpsDetection(SerialChannel& comPort) : comPort_(comPort) {
  ResetReply();
}

void UpsDetection::StartDetection() {
  currentPort_ = 1;
  ResetReply();
  foundCount_ = 0;
  tickCount_ = 0;
  for (int n = 1; n <= kPortCount; ++n) {
    comPort_.SetOpen(false);
    portState_[n] = OpenPort(n) ? port_code::Empty : port_code::CannotUse;
  }
  currentPort_ = 1;
}

bool UpsDetection::OpenPort(int n) {
  try {
    comPort_.SetComNumber(static_cast<int16_t>(n));
    comPort_.SetOpen(true);
    return true;
  } catch (const PortUnusable&) {
    return false;
  }
}

void UpsDetection::SendLine(const std::string& text) {
  comPort_.WriteText(text + "\r\n");
}

bool UpsDetection::Timer1Timer() {
  ++tickCount_;
  bool finished = false;
  if (currentPort_ > kPortCount) {
    finished = true;
  } else if (portState_[currentPort_] != port_code::Empty) {
    ++currentPort_;
  } else {
    Probe(currentPort_);
  }
  if (tickCount_ > kTickLimit) {
    tickCount_ = 0;
    ++currentPort_;
  }
  return finished;
}

// A port that opened at the start but now fails to open or to take the
// probe cannot be used: it is skipped from the next tick on and reported so.
void UpsDetection::Probe(int port) {
  if (OnProbe) OnProbe(port);
  try {
    if (comPort_.ComNumber() != port) {
      comPort_.SetOpen(false);
      comPort_.SetComNumber(static_cast<int16_t>(port));
      // What the previous port sent without ending its line can never be
      // completed now; kept, it would fill the start of this port's reply.
      ResetReply();
    }
    comPort_.SetOpen(true);
    SendLine("V?");
  } catch (const PortUnusable&) {
    portState_[port] = port_code::CannotUse;
  } catch (const ESerialIO&) {
    portState_[port] = port_code::CannotUse;
    comPort_.SetOpen(false);
  }
}

void UpsDetection::ComPort1TriggerAvail(SerialChannel& sender, uint16_t count) {
  if (count == 0) return;
  uint8_t last = 0;
  for (uint16_t i = 0; i < count; ++i) {
    last = sender.ReadChar();
    if (!Dropped(last)) CollectByte(last);
  }
  if (last == '\n') EvaluateReply();
}

// A line longer than the reply text keeps its first characters; the rest
// of it is dropped.
void UpsDetection::CollectByte(uint8_t byte) {
  if (replyLength_ < kReplyCapacity) replyText_[replyLength_++] = static_cast<char>(byte);
}

// The reply counts for the port being probed only while the channel is still
// open on it: a reply completed after the probe moved on (to another port,
// or past the last one) belongs to no port and is forgotten.
void UpsDetection::EvaluateReply() {
  const bool forCurrentPort = currentPort_ <= kPortCount && comPort_.ComNumber() == currentPort_;
  if (forCurrentPort) {
    const std::string_view reply = ReplyText();
    if (reply.find("TARVEXI") != std::string_view::npos) {
      portState_[currentPort_] = reply.find("Velto") != std::string_view::npos ? port_code::Velto
                                 : reply.find("QZ") != std::string_view::npos  ? port_code::QZ
                                                                               : port_code::Soranthe;
      ++foundCount_;
    }
    ++currentPort_;
    tickCount_ = 0;
  }
  ResetReply();
}

void UpsDetection::ResetReply() {
  replyText_.fill(' ');
  replyLength_ = 0;
}

DetectionReport UpsDetection::ReportDetection() {
  if (foundCount_ == 0) {
    for (int n = 1; n <= kPortCount; ++n) {
      if (portState_[n] != port_code::Empty) continue;
      comPort_.SetOpen(false);
      if (OpenPort(n) && comPort_.DSR()) {
        portState_[n] = port_code::DryContact;
        ++foundCount_;
        break;
      }
    }
  }

  DetectionReport report;
  for (int n = 1; n <= kPortCount; ++n) {
    report.text += " PORT : " + std::to_string(n) + SuffixOf(portState_[n]) + "\r\n";
    if (portState_[n] >= 1 && portState_[n] <= 4) report.port = n;
  }
  report.foundCount = foundCount_;
  if (foundCount_ < 1) {
    report.text += "\r\n UPS NOT FOUND !";
  } else {
    for (int n = 1; n <= kPortCount; ++n) {
      if (portState_[n] >= 1) {
        report.seriesCode = SeriesCodeOfPortCode(portState_[n]);
        break;
      }
    }
  }
  comPort_.SetOpen(false);
  return report;
}
