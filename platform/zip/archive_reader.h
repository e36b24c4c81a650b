// Unpacks an archive below a folder: every name is checked before anything is written, and each
// file is written whole and checked before it replaces the old one.
#pragma once
#include <filesystem>

#include "platform/zip/operation_report.h"

namespace platform::zip {

bool read_archive(const std::filesystem::path& archive, const std::filesystem::path& folder,
                  const OperationReport& report);

}  // namespace platform::zip
