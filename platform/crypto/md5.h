// MD5 digests (RFC 1321) through the system's crypto library.
#pragma once
#include <string>
#include <string_view>

namespace platform::crypto {

// The digest of bytes as 32 lower-case hexadecimal digits; "" when it cannot be computed.
std::string md5_hex(std::string_view bytes);

}  // namespace platform::crypto
