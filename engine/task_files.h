// Names of a download's files beside its target: the temporary file (target + "!BT"), which is
// the task's LocatName while it runs, and the configuration file (LocatName + ".Config").
#pragma once
#include <string>
#include <string_view>

namespace engine {

inline constexpr std::string_view kTempSuffix = "!BT";
inline constexpr std::string_view kConfigSuffix = ".Config";

inline std::string TempNameOf(std::string_view target) {
  return std::string(target).append(kTempSuffix);
}

inline std::string ConfigNameOf(std::string_view locat_name) {
  return std::string(locat_name).append(kConfigSuffix);
}

// The target of a LocatName: only a trailing "!BT" (exact case) is removed.
inline std::string TargetOf(std::string_view locat_name) {
  if (locat_name.ends_with(kTempSuffix)) locat_name.remove_suffix(kTempSuffix.size());
  return std::string(locat_name);
}

}  // namespace engine
