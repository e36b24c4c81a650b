// A stored address that came from a cloud-storage share page can go stale when the machine's
// public address changes; the loader of the resume file asks here for a fresh one.
#pragma once
#include <string>
#include <string_view>

namespace engine {

// The address to resume from, given the stored address, the page it came from and the resume
// file (which is rewritten when the address changes).
std::string RefreshSharedUrl(std::string url, std::string_view down_url,
                             std::string_view config_path);

}  // namespace engine
