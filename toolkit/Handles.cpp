#include "toolkit/Handles.h"

namespace tk {

std::atomic<long>& LiveHandles(THandleFamily family) {
  static std::atomic<long> counts[3];
  return counts[static_cast<int>(family)];
}

}  // namespace tk
