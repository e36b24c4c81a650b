// HKEY_CURRENT_USER of the prefix: Wine keeps it as the text file <prefix>/user.reg.
#pragma once
#include <string>
#include <string_view>

namespace platform::registry {

// Reads "Key\Sub\Value" (split at the last backslash) as GBK text. REG_SZ is taken literally,
// REG_EXPAND_SZ with %VARIABLES% expanded from the environment; any other type, and a missing
// file, key or value, read as "".
std::string read_current_user_text(std::string_view key_and_value);

}  // namespace platform::registry
