#include "app/ExportCommand.h"
#include "app/MainForm.h"
#include "app/SessionInstance.h"

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A file call on a drive without its medium fails quietly instead of stopping the
  // program with the system's "no disk" box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The export runs beside a running Tarvelo rather than handing over to it.
  if (int code = 0; RunExportCommand(code)) ExitProcess(static_cast<UINT>(code));
  // Taken before any window or tray icon exists and held until the process ends. A
  // second start leaves without touching the store.
  TSessionInstance instance;
  if (ClaimInstance(instance) != TInstanceClaim::First) ExitProcess(0);
  const int code = RunTarvelo();
  ExitProcess(static_cast<UINT>(code));
}

// The library's default terminate handler demangles the exception's type name, which
// drags a whole demangler into the exe; a terminating program has nothing to print.
namespace __gnu_cxx {
void __verbose_terminate_handler() { abort(); }
}  // namespace __gnu_cxx
