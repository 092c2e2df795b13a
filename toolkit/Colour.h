// The toolkit's colours are the program's (base/Colour.h): a COLORREF, or above
// 0xFFFFFF a system colour, resolved with GetSysColor when it is drawn with.
#pragma once
#include <cstdint>

#include "base/Colour.h"

namespace tk {

// The plain RGB value (0x00BBGGRR) for drawing now.
uint32_t ColourToRGB(TColor colour);

}  // namespace tk
