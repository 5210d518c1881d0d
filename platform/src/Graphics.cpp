#include "platform/Graphics.h"

#include <cmath>

int TFont::heightAt(int pixelsPerInch) const {
  return -static_cast<int>(std::lround(Size * pixelsPerInch / 72.0));
}
