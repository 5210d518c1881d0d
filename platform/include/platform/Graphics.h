#pragma once
// Colour and font descriptions shared by the report model, the drawing surface and the
// exporters.

#include <cstdint>
#include <string>

// A 32-bit colour: red in the low byte, then green and blue.
using TColor = int32_t;

constexpr TColor clTransparent = 536870911;  // no colour: nothing is painted
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r | (g << 8) | (b << 16));
}
constexpr uint8_t RedOf(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GreenOf(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// Font style set; as a template integer: bold 1, italic 2, underline 4, strike-out 8.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

constexpr int DEFAULT_CHARSET = 1;
constexpr int EASTEUROPE_CHARSET = 238;

// A font description. Report fonts default to Arial 10, black, character set 1.
struct TFont {
  std::string Name = "Arial";   // 8-bit text
  int Size = 10;                // points
  TColor Color = clBlack;
  TFontStyles Style = 0;
  int Charset = DEFAULT_CHARSET;
  uint8_t Pitch = 0;            // fpDefault 0, fpVariable 1, fpFixed 2

  bool has(TFontStyle s) const { return (Style & s) != 0; }
  // Height in device pixels at `pixelsPerInch`, negative as the platform writes a
  // character height (without internal leading).
  int heightAt(int pixelsPerInch) const;

  bool operator==(const TFont&) const = default;
};
