#include "json_types.h"

namespace orv {

#if defined(__GNUC__)
__attribute__((noinline, cold))
#endif
void ThrowBadAlloc() {
  throw std::bad_alloc();
}

}  // namespace orv
