#include "platform/crypto/md5.h"

#include <openssl/evp.h>

#include <memory>

namespace platform::crypto {

std::string md5_hex(std::string_view bytes) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                  EVP_MD_CTX_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_size = 0;
  if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest, &digest_size) != 1) {
    return {};
  }
  static constexpr char hex_digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < digest_size; ++i) {
    hex += hex_digits[digest[i] >> 4];
    hex += hex_digits[digest[i] & 0x0F];
  }
  return hex;
}

}  // namespace platform::crypto
