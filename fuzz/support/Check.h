#pragma once
// A harness's own check: prints the failed condition and its line, then
// aborts, which the fuzzer reports as a finding and the replay as a failure.
#include <cstdio>
#include <cstdlib>

#define Check(condition)                                                         \
  do {                                                                           \
    if (!(condition)) {                                                          \
      std::fprintf(stderr, "check failed, line %d: %s\n", __LINE__, #condition); \
      std::abort();                                                              \
    }                                                                            \
  } while (false)
