#include "app/SingleInstance.h"

TInstanceClaim ClaimInstance(TInstanceSeam& seam, uint32_t patienceMs) {
  const uint64_t start = seam.NowMs();
  for (uint32_t wait = 0;; wait = InstanceRetryMs) {
    if (seam.TakeLock(wait)) return TInstanceClaim::First;
    // A holder still starting has no window yet; one that is ending has stopped answering.
    if (seam.AskHolderToShow()) return TInstanceClaim::HandedOver;
    if (seam.NowMs() - start >= patienceMs) return TInstanceClaim::GaveUp;
  }
}
