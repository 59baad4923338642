// libFuzzer target: arbitrary bytes as a program of API calls.
#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvfuzz::CheckApiSequence(data, size);
  return 0;
}
