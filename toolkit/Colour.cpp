#include "toolkit/Colour.h"

#include <windows.h>

uint32_t ColourToRGB(TColour colour) {
  if (IsSysColour(colour)) return ::GetSysColor(static_cast<int>(colour & 0xFFu)) & 0xFFFFFFu;
  // Only the RGB bytes: a stray high byte from a damaged setting would otherwise be read by
  // GDI as a palette index or palette-relative colour.
  return colour & 0xFFFFFFu;
}
