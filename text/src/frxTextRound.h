#pragma once
// "Nearest": the rounding every measure of the text layout uses (halves away from zero).
// Results are kept within +-1e9 pixels (and NaN counts as 0), so that absurd template
// values (a line spacing of 1e12) give absurd but defined pixel values instead of
// overflowing the integer arithmetic that follows.
#include <cmath>

inline int frxNearest(double v) {
  constexpr double kLimit = 1e9;
  if (!(v == v)) return 0;
  if (v > kLimit) return static_cast<int>(kLimit);
  if (v < -kLimit) return -static_cast<int>(kLimit);
  return static_cast<int>(std::lround(v));
}
