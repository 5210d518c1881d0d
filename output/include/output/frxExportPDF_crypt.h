#pragma once
// The standard security handler of PDF files, revision 3: a 128-bit RC4 file key
// derived with MD5 from the passwords, the permissions and the document identifier.
// The passwords are 8-bit text as typed (the system code page).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The permissions of an encrypted file, in this order.
enum TfrxPDFEncBit : uint8_t { ePrint, eModify, eCopy, eAnnot };
using TfrxPDFEncBits = uint8_t;  // bit (1 << member)
constexpr TfrxPDFEncBits kAllPDFPermissions = 15;

// The MD5 digest of `bytes`.
std::array<uint8_t, 16> PdfMd5(std::string_view bytes);

// The permission value P: -64 plus 4, 8, 16, 32 for print, modify, copy, annotate.
int32_t PdfPermissionValue(TfrxPDFEncBits flags);

class TfrxPDFEncryption {
 public:
  // An empty owner password takes the user password. `documentId` is the 16 bytes of
  // the identifier written in the trailer.
  TfrxPDFEncryption(std::string_view userPassword, std::string_view ownerPassword, int32_t permissions,
                    const std::array<uint8_t, 16>& documentId);

  const std::string& O() const { return o_; }  // 32 bytes
  const std::string& U() const { return u_; }  // 32 bytes
  int32_t P() const { return p_; }
  const std::array<uint8_t, 16>& FileKey() const { return key_; }

  // Encrypts (or decrypts: RC4 is symmetric) `data` in place with the key of object `number`.
  void Apply(int number, std::string& data) const;

 private:
  std::string o_, u_;
  int32_t p_;
  std::array<uint8_t, 16> key_{};
};
