#pragma once
// Windows metafiles (placeable WMF) and enhanced metafiles (EMF): their structure is
// checked by our own reader, their drawing is converted to SVG by the libraries Debian
// keeps for the purpose (libemf2svg for enhanced metafiles, libwmf for Windows
// metafiles), and canvases draw that SVG (TCanvas::DrawVectorPicture).
//
// ReadMetafileHeader walks every record before anything else reads the data: a record
// that runs past the data, a missing end record or a picture without size raises
// TPictureError naming the fault, so the converters only ever see whole metafiles.

#include <cstdint>
#include <span>
#include <string>

#include "platform/Picture.h"

enum class TMetafileKind : uint8_t { Windows, Enhanced };

struct TMetafileInfo {
  TMetafileKind Kind = TMetafileKind::Enhanced;
  int Width = 0;   // pixels at 96 per inch
  int Height = 0;
  size_t End = 0;              // bytes up to the end of the end record
  uint32_t LargestRecord = 0;  // bytes of the largest record
};

// The placeable header's key and the enhanced header's signature (" EMF").
constexpr uint32_t kPlaceableMetafileKey = 0x9AC6CDD7;
constexpr uint32_t kEnhancedMetafileSignature = 0x464D4520;

TMetafileInfo ReadMetafileHeader(std::span<const uint8_t> data);

// The drawing as an SVG document whose size is the picture's size in pixels. Raises
// TPictureError when the library cannot convert it.
std::string MetafileToSvg(std::span<const uint8_t> data, const TMetafileInfo& info);
