// Files built into the program (see payloads.S).
#pragma once
#include <string_view>

namespace payloads {

// Whole JPEG files of the catalogue previews.
extern const std::string_view kPreviewMap2, kPreviewMap3, kPreviewMap4, kPreviewMap5,
    kPreviewMap6, kPreviewMap7, kPreviewMap8, kPreviewMap9, kPreviewMap10, kPreviewOfficial;

}  // namespace payloads
