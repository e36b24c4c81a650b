#pragma once
#include <string_view>

namespace platform::shell {

// The shell's open verb: hands the target (a host name, an address, a file) to xdg-open in a
// detached process. Nothing waits for it and a failure is ignored.
void open(std::string_view target_gbk);

}  // namespace platform::shell
