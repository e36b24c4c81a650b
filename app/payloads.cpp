#include "app/payloads.h"

#define MAPSWITCH_PAYLOAD(symbol)                   \
  extern "C" const char symbol##_start[];           \
  extern "C" const char symbol##_end[];

MAPSWITCH_PAYLOAD(preview_map2)
MAPSWITCH_PAYLOAD(preview_map3)
MAPSWITCH_PAYLOAD(preview_map4)
MAPSWITCH_PAYLOAD(preview_map5)
MAPSWITCH_PAYLOAD(preview_map6)
MAPSWITCH_PAYLOAD(preview_map7)
MAPSWITCH_PAYLOAD(preview_map8)
MAPSWITCH_PAYLOAD(preview_map9)
MAPSWITCH_PAYLOAD(preview_map10)
MAPSWITCH_PAYLOAD(preview_official)

#define MAPSWITCH_VIEW(symbol) std::string_view(symbol##_start, symbol##_end - symbol##_start)

namespace payloads {

const std::string_view kPreviewMap2 = MAPSWITCH_VIEW(preview_map2);
const std::string_view kPreviewMap3 = MAPSWITCH_VIEW(preview_map3);
const std::string_view kPreviewMap4 = MAPSWITCH_VIEW(preview_map4);
const std::string_view kPreviewMap5 = MAPSWITCH_VIEW(preview_map5);
const std::string_view kPreviewMap6 = MAPSWITCH_VIEW(preview_map6);
const std::string_view kPreviewMap7 = MAPSWITCH_VIEW(preview_map7);
const std::string_view kPreviewMap8 = MAPSWITCH_VIEW(preview_map8);
const std::string_view kPreviewMap9 = MAPSWITCH_VIEW(preview_map9);
const std::string_view kPreviewMap10 = MAPSWITCH_VIEW(preview_map10);
const std::string_view kPreviewOfficial = MAPSWITCH_VIEW(preview_official);

}  // namespace payloads
