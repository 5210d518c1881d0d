// The PDF file's bytes, objects and texts.

#include "output/frxExportPDF_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "output/frxExportPDF_crypt.h"
#include "platform/CodePage.h"
#include "platform/Stream.h"

namespace {

constexpr size_t kFlushSize = 1 << 16;

// The usual values of the system colours a template may name (0x80000000 + index).
TColor SystemColorToRGB(TColor color) {
  static const TColor kSystemColors[] = {
      RGBColor(200, 200, 200), RGBColor(0, 0, 0),       RGBColor(153, 180, 209),
      RGBColor(191, 205, 219), RGBColor(240, 240, 240), RGBColor(255, 255, 255),
      RGBColor(100, 100, 100), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
      RGBColor(0, 0, 0),       RGBColor(180, 180, 180), RGBColor(244, 247, 252),
      RGBColor(171, 171, 171), RGBColor(0, 120, 215),   RGBColor(255, 255, 255),
      RGBColor(240, 240, 240), RGBColor(160, 160, 160), RGBColor(109, 109, 109),
      RGBColor(0, 0, 0),       RGBColor(0, 0, 0),       RGBColor(255, 255, 255),
      RGBColor(105, 105, 105), RGBColor(227, 227, 227), RGBColor(0, 0, 0),
      RGBColor(255, 255, 225)};
  const uint32_t index = static_cast<uint32_t>(color) & 0xFF;
  return index < std::size(kSystemColors) ? kSystemColors[index] : clBlack;
}

}  // namespace

std::string PdfNumber(double value) {
  if (!std::isfinite(value)) return "0";
  // Far beyond any page; keeps the hundredths below within a 64-bit integer.
  constexpr double kLimit = 1e12;
  value = std::clamp(value, -kLimit, kLimit);
  char text[64];
  if (value == std::trunc(value)) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    // Written by hand so that no locale can change the separator.
    const double rounded = std::round(value * 100);
    const long long hundredths = static_cast<long long>(std::fabs(rounded));
    std::snprintf(text, sizeof text, "%s%lld.%02lld", rounded < 0 ? "-" : "", hundredths / 100,
                  hundredths % 100);
  }
  std::string out = text;
  return out == "-0" || out == "-0.00" ? out.substr(1) : out;
}

std::string PdfColor(TColor color) {
  if (color < 0) color = SystemColorToRGB(color);
  return PdfNumber(RedOf(color) / 255.0) + " " + PdfNumber(GreenOf(color) / 255.0) + " " +
         PdfNumber(BlueOf(color) / 255.0);
}

std::string PdfHex4(uint16_t value) {
  char text[5];
  std::snprintf(text, sizeof text, "%04X", value);
  return text;
}

std::string PdfUnicodeHexString(std::u16string_view text) {
  std::string out = "<FEFF";
  for (char16_t unit : text) out += PdfHex4(unit);
  return out + ">";
}

std::string PdfEscapeLiteral(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 8);
  for (char c : bytes) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '(': case ')': case '\\': out += '\\'; out += c; break;
      default: out += c;
    }
  }
  return out;
}

std::string PdfDeflate(std::string_view data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                static_cast<uLong>(data.size()), level) != Z_OK)
    throw std::runtime_error("PDF: compression failed");
  out.resize(size);
  return out;
}

// ---------------------------------------------------------------------------------

TfrxPDFWriter::TfrxPDFWriter(TStream& out) : out_(out) { buffer_.reserve(kFlushSize * 2); }

TfrxPDFWriter::~TfrxPDFWriter() = default;

void TfrxPDFWriter::Write(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kFlushSize) Flush();
}

void TfrxPDFWriter::Line(std::string_view text) {
  buffer_.append(text);
  buffer_.append("\r\n");
  if (buffer_.size() >= kFlushSize) Flush();
}

void TfrxPDFWriter::Flush() {
  if (buffer_.empty()) return;
  out_.WriteBuffer(buffer_.data(), static_cast<int64_t>(buffer_.size()));
  flushed_ += static_cast<int64_t>(buffer_.size());
  buffer_.clear();
}

int TfrxPDFWriter::NewObject() {
  offsets_.push_back(Position());
  return static_cast<int>(offsets_.size());
}

void TfrxPDFWriter::PlaceObject(int number) {
  if (number < 1 || number > ObjectCount()) throw std::logic_error("PDF: object not numbered");
  offsets_[static_cast<size_t>(number - 1)] = Position();
}

void TfrxPDFWriter::BeginObject(int number) { Line(std::to_string(number) + " 0 obj"); }

void TfrxPDFWriter::EndObject() { Line("endobj"); }

std::string TfrxPDFWriter::Protect(int number, std::string data) const {
  if (encryption_) encryption_->Apply(number, data);
  return data;
}

std::string TfrxPDFWriter::TextString(int number, std::u16string_view text) const {
  if (!encryption_) return PdfUnicodeHexString(text);
  return "(" + PdfEscapeLiteral(Protect(number, codepage::FromWide(text))) + ")";
}

int64_t TfrxPDFWriter::WriteCrossReference() {
  const int64_t start = Position();
  Line("xref");
  Line("0 " + std::to_string(offsets_.size() + 1));
  Line("0000000000 65535 f");
  char entry[32];
  for (int64_t offset : offsets_) {
    std::snprintf(entry, sizeof entry, "%010lld 00000 n", static_cast<long long>(offset));
    Line(entry);
  }
  Flush();
  return start;
}
