#include "app/MainForm.h"

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int code = RunTarvelo();
  ExitProcess(static_cast<UINT>(code));
}

// The library's default terminate handler demangles the exception's type name, which
// drags a whole demangler into the exe; a terminating program has nothing to print.
namespace __gnu_cxx {
void __verbose_terminate_handler() { abort(); }
}  // namespace __gnu_cxx
