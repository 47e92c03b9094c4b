#include "util/Sha256.h"

#include <gtest/gtest.h>

#include <string>

// The published test vectors, and lengths at each edge of the padding: the
// length fits in the last block (55), it does not (56), a whole block (64).
TEST(Sha256, MatchesTheKnownDigests) {
  const struct {
    std::string bytes;
    const char* digest;
  } rows[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {std::string(55, '0'), "9f8ef876f51f5313c91cc3f6b8119af09d8bbdd72098fa149b2780eb3591d6be"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(64, '0'), "60e05bd1b195af2f94112fa7197a5c88289058840ce7c6df9693756bc6250f55"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string("\xFF\x00\x80", 3), "ef192b7af54e943f206ab27075ec1805384c972c9959fc5820f1fa7d5268fcef"},  // high bytes, a NUL
  };
  for (const auto& row : rows) EXPECT_EQ(Sha256Hex(row.bytes), row.digest) << row.bytes.size();
}
