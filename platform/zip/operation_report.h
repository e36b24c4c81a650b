// How the packing and unpacking routines tell the component what happened.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/zip/zip_component.h"

namespace platform::zip {

struct OperationReport {
  // An entry (GBK name) is done; percent of all entries. Empty when no events are wanted.
  std::function<void(const std::string& entry_name, int percent)> entry_done;
  // Only the first failure of an operation is kept.
  std::function<void(Failure failure, std::string_view entry_name)> fail;
};

// The truncated whole percentage of `done` out of `total` entries.
inline int percent_of(std::size_t done, std::size_t total) {
  return total == 0 ? 100 : static_cast<int>(done * 100 / total);
}

}  // namespace platform::zip
