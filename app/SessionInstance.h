// The single-instance lock of a user session: a named mutex in the session's own
// namespace, and the running program's graph window found by its class and title.
#pragma once
#include "toolkit/WinApi.h"

#include "app/SingleInstance.h"
#include "toolkit/Handles.h"

// "Local\" keeps the name to this session; other users' sessions have their own.
inline constexpr const char* InstanceMutexName = "Local\\Quillmoor.Tarvelo.Instance";
// How long the holder may take to answer before it counts as not answering.
inline constexpr UINT InstanceAnswerMs = 2000;

class TSessionInstance final : public TInstanceSeam {
public:
  TSessionInstance();
  // Lets go of a lock it holds; the process's end would, too (as an abandoned mutex).
  ~TSessionInstance() override;
  TSessionInstance(const TSessionInstance&) = delete;
  TSessionInstance& operator=(const TSessionInstance&) = delete;

  bool TakeLock(uint32_t waitMs) override;
  bool AskHolderToShow() override;
  uint64_t NowMs() override;

private:
  tk::unique_handle mutex_;
  bool owned_ = false;
};
