// Packs listed entries into a new archive that replaces the old one only once it is complete.
#pragma once
#include <filesystem>
#include <vector>

#include "platform/zip/operation_report.h"
#include "platform/zip/source_tree.h"

namespace platform::zip {

bool write_archive(const std::vector<SourceEntry>& entries, const std::filesystem::path& archive,
                   const OperationReport& report);

}  // namespace platform::zip
