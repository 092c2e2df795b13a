#include "render/ColorTools.h"

#include <cmath>
#include <initializer_list>

namespace {

uint32_t Channel(TColor c, int shift) { return (c >> shift) & 0xFF; }

uint32_t MixChannel(uint32_t a, uint32_t b, double t) {
  const double v = std::nearbyint((1.0 - t) * a + t * b);  // ties to even in the default mode
  // t outside 0..1 (never passed by the program) must not spill into the next channel
  if (!(v >= 0.0)) return 0;
  if (v > 255.0) return 255;
  return static_cast<uint32_t>(v);
}

}  // namespace

TColor InvertColor(TColor colour) { return 0xFFFFFF - ResolveColor(colour); }

TColor MixColors(TColor a, TColor b, double t) {
  a = ResolveColor(a);
  b = ResolveColor(b);
  TColor result = 0;
  for (int shift : {0, 8, 16}) result |= MixChannel(Channel(a, shift), Channel(b, shift), t) << shift;
  return result;
}

TColor MixWithInverse(TColor a, TColor b, TColor m, double t) {
  return MixColors(a, MixColors(b, InvertColor(m), t), t);
}
