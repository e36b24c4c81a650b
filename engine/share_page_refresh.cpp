#include "engine/share_page_refresh.h"

namespace engine {

// Share-link resolution is not part of this build yet, so the stored address stands.
std::string RefreshSharedUrl(std::string url, std::string_view, std::string_view) { return url; }

}  // namespace engine
