#pragma once
// "Nearest": the rounding every measure of the text layout uses (halves away from zero).
#include <cmath>

inline int frxNearest(double v) { return static_cast<int>(std::lround(v)); }
