// One Tarvelo per user session: a later start hands over to the running one and ends,
// so two programs never count and store the same totals.
#pragma once
#include <cstdint>

// The session's one-instance lock and the way to the program that holds it, behind a
// seam so the hand-over can be played against any timing of the other side.
class TInstanceSeam {
public:
  virtual ~TInstanceSeam() = default;
  // Takes the lock, waiting up to waitMs for its holder to let go or to end.
  virtual bool TakeLock(uint32_t waitMs) = 0;
  // Asks the holder to show its graph and come to the front; true once it has.
  virtual bool AskHolderToShow() = 0;
  // Milliseconds from any fixed start, never going back.
  virtual uint64_t NowMs() = 0;
};

enum class TInstanceClaim {
  First,       // this start runs the program
  HandedOver,  // the running one shows its graph; this start ends
  GaveUp,      // the holder neither answers nor ends; this start ends
};

// How long a start waits for the lock between two questions to the holder.
inline constexpr uint32_t InstanceRetryMs = 250;
// How long a holder may neither answer nor end before a start gives up on it.
inline constexpr uint32_t InstancePatienceMs = 15000;

// Takes the lock, or hands over to the program holding it. A holder that is ending no
// longer answers, so its lock comes free and this start runs instead: there is always
// one graph, never two programs.
TInstanceClaim ClaimInstance(TInstanceSeam& seam, uint32_t patienceMs = InstancePatienceMs);
