// Key derivation and RC4 of the standard security handler (revision 3, 128 bits).

#include "output/frxExportPDF_crypt.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>

namespace {

constexpr uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                  0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                  0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

using TDigest = std::array<uint8_t, MD5_DIGEST_SIZE>;

std::string Padded(std::string_view password) {
  std::string out(password.substr(0, 32));
  out.append(reinterpret_cast<const char*>(kPadding), 32 - out.size());
  return out;
}

class TMd5 {
 public:
  TMd5() { md5_init(&ctx_); }
  TMd5& Add(const void* data, size_t size) {
    md5_update(&ctx_, size, static_cast<const uint8_t*>(data));
    return *this;
  }
  TMd5& Add(std::string_view bytes) { return Add(bytes.data(), bytes.size()); }
  TDigest Digest() {
    TDigest d;
    md5_digest(&ctx_, d.size(), d.data());
    return d;
  }

 private:
  md5_ctx ctx_;
};

// 50 more rounds of MD5 over the previous digest.
TDigest Strengthened(TDigest digest) {
  for (int i = 0; i < 50; ++i) digest = TMd5().Add(digest.data(), digest.size()).Digest();
  return digest;
}

void Rc4(const uint8_t* key, size_t keySize, std::string& data) {
  arcfour_ctx ctx;
  arcfour_set_key(&ctx, keySize, key);
  arcfour_crypt(&ctx, data.size(), reinterpret_cast<uint8_t*>(data.data()),
                reinterpret_cast<const uint8_t*>(data.data()));
}

// RC4 with the key, then 19 more times with the key XOR i.
void Rc4TwentyTimes(const TDigest& key, std::string& data) {
  for (uint8_t i = 0; i < 20; ++i) {
    TDigest k = key;
    for (uint8_t& b : k) b ^= i;
    Rc4(k.data(), k.size(), data);
  }
}

}  // namespace

std::array<uint8_t, 16> PdfMd5(std::string_view bytes) { return TMd5().Add(bytes).Digest(); }

int32_t PdfPermissionValue(TfrxPDFEncBits flags) {
  int32_t p = -64;
  if (flags & (1 << ePrint)) p += 4;
  if (flags & (1 << eModify)) p += 8;
  if (flags & (1 << eCopy)) p += 16;
  if (flags & (1 << eAnnot)) p += 32;
  return p;
}

TfrxPDFEncryption::TfrxPDFEncryption(std::string_view userPassword, std::string_view ownerPassword,
                                     int32_t permissions, const std::array<uint8_t, 16>& documentId)
    : p_(permissions) {
  const std::string user = Padded(userPassword);
  const std::string owner = Padded(ownerPassword.empty() ? userPassword : ownerPassword);

  o_ = user;
  Rc4TwentyTimes(Strengthened(TMd5().Add(owner).Digest()), o_);

  const uint32_t p = static_cast<uint32_t>(p_);
  const uint8_t pBytes[4] = {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16),
                             static_cast<uint8_t>(p >> 24)};
  const TDigest fileKey = Strengthened(
      TMd5().Add(user).Add(o_).Add(pBytes, 4).Add(documentId.data(), documentId.size()).Digest());
  std::copy(fileKey.begin(), fileKey.end(), key_.begin());

  const TDigest check = TMd5().Add(kPadding, 32).Add(documentId.data(), documentId.size()).Digest();
  u_.assign(reinterpret_cast<const char*>(check.data()), check.size());
  Rc4TwentyTimes(fileKey, u_);
  u_.append(16, '\0');
}

void TfrxPDFEncryption::Apply(int number, std::string& data) const {
  const uint32_t n = static_cast<uint32_t>(number);
  const uint8_t suffix[5] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16), 0,
                             0};
  const TDigest objectKey = TMd5().Add(key_.data(), key_.size()).Add(suffix, 5).Digest();
  Rc4(objectKey.data(), objectKey.size(), data);
}
