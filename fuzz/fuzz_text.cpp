// libFuzzer target: arbitrary bytes as JSON text.
#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvfuzz::CheckText(data, size);
  return 0;
}
