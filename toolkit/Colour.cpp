#include "toolkit/Colour.h"

#include "toolkit/WinApi.h"

namespace tk {

uint32_t ColourToRGB(TColor colour) {
  if (IsSysColour(colour)) return ::GetSysColor(SysColourIndex(colour)) & 0xFFFFFFu;
  return colour;
}

}  // namespace tk
