#pragma once
// The PDF file as the export writes it: bytes out in order, one offset per object for
// the cross-reference table, and the number, colour and string texts of the format.
//
// Contract
// - The writer borrows the output stream; it buffers and writes through to it, so the
//   stream must outlive the writer and Flush must run before the stream is closed
//   (WriteCrossReference flushes). A failed write of the stream raises its error.
// - Objects are numbered from 1 in the order NewObject is called; an object may be
//   numbered early (its number is needed before it is written) and placed later with
//   PlaceObject, which records the offset it is written at.
// - Every number goes through PdfNumber, so the decimal separator is "." whatever the
//   locale of the process.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Graphics.h"

class TStream;
class TfrxPDFEncryption;

// A value equal to its integer part as the integer; otherwise exactly two decimals.
std::string PdfNumber(double value);
// R/255 G/255 B/255 as three PdfNumbers ("0 0 0" for black); a system colour is first
// taken as its usual RGB value.
std::string PdfColor(TColor color);
// Four uppercase hexadecimal digits.
std::string PdfHex4(uint16_t value);
// "<FEFF....>": the text as UTF-16 big-endian code units in hexadecimal.
std::string PdfUnicodeHexString(std::u16string_view text);
// A literal string's body: LF, CR, "(", ")" and backslash escaped.
std::string PdfEscapeLiteral(std::string_view bytes);
// zlib format at the given level (1 is the export's: fastest).
std::string PdfDeflate(std::string_view data, int level = 1);

class TfrxPDFWriter {
 public:
  explicit TfrxPDFWriter(TStream& out);
  ~TfrxPDFWriter();
  TfrxPDFWriter(const TfrxPDFWriter&) = delete;
  TfrxPDFWriter& operator=(const TfrxPDFWriter&) = delete;

  void Write(std::string_view bytes);
  // The text and CR LF.
  void Line(std::string_view text);
  int64_t Position() const { return flushed_ + static_cast<int64_t>(buffer_.size()); }
  void Flush();

  // A new object at the current position; returns its number.
  int NewObject();
  // The object `number` (numbered earlier) is written from the current position.
  void PlaceObject(int number);
  int ObjectCount() const { return static_cast<int>(offsets_.size()); }
  // "N 0 obj" / "endobj".
  void BeginObject(int number);
  void EndObject();
  static std::string Ref(int number) { return std::to_string(number) + " 0 R"; }

  // Encryption of strings and streams from now on (none: plain); borrowed.
  void SetEncryption(const TfrxPDFEncryption* encryption) { encryption_ = encryption; }
  const TfrxPDFEncryption* Encryption() const { return encryption_; }
  // The data as object `number` stores it: encrypted with that object's key when the
  // file is encrypted, else unchanged.
  std::string Protect(int number, std::string data) const;
  // A text string of object `number`: the Unicode hexadecimal form, or when encrypting
  // the text in the system code page, encrypted and written as an escaped literal.
  std::string TextString(int number, std::u16string_view text) const;

  // "xref", the entries, and returns the table's offset; flushes.
  int64_t WriteCrossReference();

 private:
  TStream& out_;
  std::string buffer_;
  int64_t flushed_ = 0;
  std::vector<int64_t> offsets_;
  const TfrxPDFEncryption* encryption_ = nullptr;
};
