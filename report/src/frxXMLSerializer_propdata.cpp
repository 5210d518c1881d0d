// Property byte streams: the records of "PropData" attributes.

#include <array>
#include <cstring>

#include "platform/CodePage.h"
#include "report/frxXMLSerializer.h"

// ---------------------------------------------------------------------------------------
// Writer

void TfrxPropWriter::WriteRaw32(uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void TfrxPropWriter::WriteInteger(int64_t value) {
  if (value >= -128 && value <= 127) {
    bytes_ += char(vaInt8);
    bytes_ += static_cast<char>(value);
  } else if (value >= -32768 && value <= 32767) {
    bytes_ += char(vaInt16);
    bytes_ += static_cast<char>(value & 0xFF);
    bytes_ += static_cast<char>((value >> 8) & 0xFF);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    bytes_ += char(vaInt32);
    WriteRaw32(static_cast<uint32_t>(value));
  } else {
    bytes_ += char(vaInt64);
    for (int i = 0; i < 8; ++i) bytes_ += static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
  }
}

void TfrxPropWriter::WriteString(std::string_view text) {
  if (text.size() <= 255) {
    bytes_ += char(vaString);
    bytes_ += static_cast<char>(text.size());
    bytes_ += text;
  } else {
    WriteLongString(text);
  }
}

void TfrxPropWriter::WriteLongString(std::string_view text) {
  bytes_ += char(vaLString);
  WriteRaw32(static_cast<uint32_t>(text.size()));
  bytes_ += text;
}

void TfrxPropWriter::WriteBinary(std::string_view bytes) {
  bytes_ += char(vaBinary);
  WriteRaw32(static_cast<uint32_t>(bytes.size()));
  bytes_ += bytes;
}

void TfrxPropWriter::WritePropName(std::string_view name) {
  if (name.size() > 255) name = name.substr(0, 255);
  bytes_ += static_cast<char>(name.size());
  bytes_ += name;
}

// ---------------------------------------------------------------------------------------
// Reader

static constexpr const char* kTruncated = "Property data truncated";

uint8_t TfrxPropReader::Byte() {
  if (pos_ >= bytes_.size()) throw EfrxPropDataError(kTruncated);
  return static_cast<uint8_t>(bytes_[pos_++]);
}

std::string_view TfrxPropReader::Take(uint64_t count) {
  if (count > bytes_.size() - pos_) throw EfrxPropDataError(kTruncated);
  std::string_view part = bytes_.substr(pos_, static_cast<size_t>(count));
  pos_ += static_cast<size_t>(count);
  return part;
}

uint32_t TfrxPropReader::Raw32() {
  std::string_view b = Take(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[static_cast<size_t>(i)]);
  return v;
}

TfrxValueType TfrxPropReader::NextValue() const {
  if (pos_ >= bytes_.size()) throw EfrxPropDataError(kTruncated);
  return static_cast<TfrxValueType>(static_cast<uint8_t>(bytes_[pos_]));
}

void TfrxPropReader::ReadListBegin() {
  if (Byte() != vaList) throw EfrxPropDataError("List expected in property data");
}

void TfrxPropReader::ReadListEnd() {
  if (Byte() != vaNull) throw EfrxPropDataError("End of list expected in property data");
}

int64_t TfrxPropReader::ReadInteger() {
  switch (Byte()) {
    case vaInt8: return static_cast<int8_t>(Byte());
    case vaInt16: {
      std::string_view b = Take(2);
      return static_cast<int16_t>(static_cast<uint8_t>(b[0]) | (static_cast<uint8_t>(b[1]) << 8));
    }
    case vaInt32: return static_cast<int32_t>(Raw32());
    case vaInt64: {
      std::string_view b = Take(8);
      uint64_t v = 0;
      for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[static_cast<size_t>(i)]);
      return static_cast<int64_t>(v);
    }
    default: throw EfrxPropDataError("Integer expected in property data");
  }
}

bool TfrxPropReader::ReadBoolean() {
  switch (Byte()) {
    case vaFalse: return false;
    case vaTrue: return true;
    default: throw EfrxPropDataError("Boolean expected in property data");
  }
}

std::string TfrxPropReader::ReadString() {
  switch (Byte()) {
    case vaString:
    case vaIdent: return std::string(Take(Byte()));
    case vaLString: return std::string(Take(Raw32()));
    case vaUTF8String: return codepage::Utf8ToAnsi(Take(Raw32()));
    case vaWString: {
      std::string_view b = Take(uint64_t{Raw32()} * 2);
      std::u16string wide(b.size() / 2, u'\0');
      for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(static_cast<uint8_t>(b[2 * i]) | (static_cast<uint8_t>(b[2 * i + 1]) << 8));
      return codepage::FromWide(wide);
    }
    default: throw EfrxPropDataError("Text expected in property data");
  }
}

std::string TfrxPropReader::ReadBinary() {
  if (Byte() != vaBinary) throw EfrxPropDataError("Raw data expected in property data");
  return std::string(Take(Raw32()));
}

std::string TfrxPropReader::ReadPropName() { return std::string(Take(Byte())); }

void TfrxPropReader::SkipValue(int depth) {
  if (depth > TfrxSerializerLimits::kMaxPropDataDepth)
    throw EfrxPropDataError("Property data nested deeper than " +
                            std::to_string(TfrxSerializerLimits::kMaxPropDataDepth) + " levels");
  switch (Byte()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return;
    case vaList:
      while (!EndOfList()) SkipValue(depth + 1);
      ++pos_;
      return;
    case vaInt8: Take(1); return;
    case vaInt16: Take(2); return;
    case vaInt32:
    case vaSingle: Take(4); return;
    case vaInt64:
    case vaCurrency:
    case vaDate: Take(8); return;
    case vaExtended: Take(10); return;
    case vaString:
    case vaIdent: Take(Byte()); return;
    case vaBinary:
    case vaLString:
    case vaUTF8String: Take(Raw32()); return;
    case vaWString: Take(uint64_t{Raw32()} * 2); return;
    case vaSet:
      // Member names ended by an empty one.
      for (uint8_t n = Byte(); n != 0; n = Byte()) Take(n);
      return;
    case vaCollection:
      // Items, each an optional order value and a list of properties (name and value).
      while (!EndOfList()) {
        TfrxValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadPropName();
          SkipValue(depth + 1);
        }
        ++pos_;
      }
      ++pos_;
      return;
    default: throw EfrxPropDataError("Unknown value type in property data");
  }
}

// ---------------------------------------------------------------------------------------
// Filer

void TfrxFiler::DefineProperty(std::string name, TReadProc read, TWriteProc write, bool hasData) {
  TDefinition d;
  d.Name = std::move(name);
  d.Read = std::move(read);
  d.Write = std::move(write);
  d.HasData = hasData;
  definitions_.push_back(std::move(d));
}

void TfrxFiler::DefineBinaryProperty(std::string name, TReadBinary read, TWriteBinary write, bool hasData) {
  TDefinition d;
  d.Name = std::move(name);
  d.ReadBinary = std::move(read);
  d.WriteBinary = std::move(write);
  d.HasData = hasData;
  d.Binary = true;
  definitions_.push_back(std::move(d));
}

// ---------------------------------------------------------------------------------------
// CRC-32

uint32_t frxCRC32(std::string_view bytes) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) crc = table[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}
