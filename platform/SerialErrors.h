#pragma once
// Failures of the serial channel. Opening a port fails with one of twelve
// kinds, each of which means "this port cannot be used"; they also derive
// from PortUnusable so that the detection can tell them from any other
// failure with one catch.
#include "util/AppError.h"

// Marker base of the twelve kinds of a failed opening.
struct PortUnusable {};

// Failures of the channel itself: writing, reading, and the opening failures below.
class ESerialIO : public AppError {
 public:
  using AppError::AppError;
};
class EGeneral : public ESerialIO {
 public:
  using ESerialIO::ESerialIO;
};
class EOpenComm : public ESerialIO {
 public:
  using ESerialIO::ESerialIO;
};
// The base of memory failures.
class EHeapException : public AppError {
 public:
  using AppError::AppError;
};

template <typename Base>
class OpenFailure : public Base, public PortUnusable {
 public:
  using Base::Base;
};

class EAlreadyOpen : public OpenFailure<EOpenComm> {  // the port is held by another program
 public:
  using OpenFailure::OpenFailure;
};
class EBadArgument : public OpenFailure<EGeneral> {
 public:
  using OpenFailure::OpenFailure;
};
class EBaudRate : public OpenFailure<EOpenComm> {
 public:
  using OpenFailure::OpenFailure;
};
class EByteSize : public OpenFailure<EOpenComm> {
 public:
  using OpenFailure::OpenFailure;
};
class EDefault : public OpenFailure<EOpenComm> {  // the line settings were refused
 public:
  using OpenFailure::OpenFailure;
};
class EInOutError : public OpenFailure<AppError> {  // a general input/output failure
 public:
  using OpenFailure::OpenFailure;
};
class EHardware : public OpenFailure<EOpenComm> {  // no serial device answers behind the name
 public:
  using OpenFailure::OpenFailure;
};
class EMemory : public OpenFailure<EOpenComm> {  // the buffer sizes were refused
 public:
  using OpenFailure::OpenFailure;
};
class ENoHandles : public OpenFailure<EOpenComm> {  // no handle for any other reason
 public:
  using OpenFailure::OpenFailure;
};
class ENullApi : public OpenFailure<ESerialIO> {
 public:
  using OpenFailure::OpenFailure;
};
class EOutOfMemory : public OpenFailure<EHeapException> {
 public:
  using OpenFailure::OpenFailure;
};
class EBadId : public OpenFailure<EOpenComm> {  // there is no port of that number
 public:
  using OpenFailure::OpenFailure;
};
