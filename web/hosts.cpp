#include "web/hosts.h"

#include <cstdlib>

namespace web {
namespace {

struct HostSetting {
  const char* variable;
  const char* built_in;
};

HostSetting setting(Host host) {
  switch (host) {
    case Host::Pack:
      return {"MAPSWITCH_PACK_HOST", "maps.xishishe.cn"};
    case Host::Publisher:
      return {"MAPSWITCH_PUBLISHER_HOST", "www.xishishe.cn"};
  }
  return {"", ""};
}

}  // namespace

std::string host_name(Host host) {
  HostSetting s = setting(host);
  const char* overridden = std::getenv(s.variable);
  return overridden && *overridden ? overridden : s.built_in;
}

}  // namespace web
