// The outside hosts the program talks to. Each is fixed at build time and can be pointed
// elsewhere (the demo's and the tests' servers on 127.0.0.1) with MAPSWITCH_<NAME>_HOST.
#pragma once
#include <string>

namespace web {

enum class Host {
  Pack,       // serves the nine map packs under /skinvault/
  Publisher,  // the publisher's page opened at every start
};

// "host" or "host:port", no scheme, no path.
std::string host_name(Host host);

}  // namespace web
