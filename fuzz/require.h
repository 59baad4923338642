// Invariant checks that end the process, so that libFuzzer and the test
// suite both see a broken invariant as a crash.
#ifndef ORVJSON_FUZZ_REQUIRE_H
#define ORVJSON_FUZZ_REQUIRE_H

#include <cstdio>
#include <cstdlib>

#define ORV_REQUIRE(condition)                                                               \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

#endif  // ORVJSON_FUZZ_REQUIRE_H
