#include "platform/zip/zip_component.h"

#include <filesystem>
#include <vector>

#include "platform/files/files.h"
#include "platform/zip/archive_reader.h"
#include "platform/zip/archive_writer.h"
#include "platform/zip/operation_report.h"
#include "platform/zip/source_tree.h"

namespace fs = std::filesystem;

namespace platform::zip {
namespace {

// The report of one operation: events go to the handler, the first failure is kept.
OperationReport make_report(ZipComponent::ProgressHandler& progress, ProgressEvent event,
                            bool with_events, std::string& current_entry_name, Failure& failure,
                            std::string& failed_entry_name) {
  OperationReport report;
  if (with_events) {
    report.entry_done = [&progress, &current_entry_name, event](const std::string& name, int percent) {
      current_entry_name = name;
      if (progress) progress(event, percent);
    };
  }
  report.fail = [&failure, &failed_entry_name](Failure why, std::string_view name) {
    if (failure != Failure::None) return;
    failure = why;
    failed_entry_name = name;
  };
  return report;
}

}  // namespace

bool ZipComponent::compress(std::string_view source, std::string_view archive) {
  failure_ = Failure::None;
  failed_entry_name_.clear();
  fs::path source_path = files::host_path(source);
  std::error_code error;
  bool is_folder = fs::is_directory(source_path, error);
  OperationReport report = make_report(progress_, ProgressEvent::Compress, is_folder,
                                       current_entry_name_, failure_, failed_entry_name_);
  std::vector<SourceEntry> entries(is_folder ? 0 : 1);
  if (is_folder ? !list_folder(source_path, entries) : !describe_file(source_path, entries[0])) {
    report.fail(fs::exists(source_path, error) ? Failure::ReadFailed : Failure::SourceMissing, "");
    return false;
  }
  return write_archive(entries, files::host_path(archive), report);
}

bool ZipComponent::unpack(std::string_view archive, std::string_view folder) {
  failure_ = Failure::None;
  failed_entry_name_.clear();
  OperationReport report = make_report(progress_, ProgressEvent::Unpack, true, current_entry_name_,
                                       failure_, failed_entry_name_);
  fs::path archive_path = files::host_path(archive);
  std::error_code error;
  if (!fs::is_regular_file(archive_path, error)) {
    report.fail(Failure::SourceMissing, "");
    return false;
  }
  return read_archive(archive_path, files::host_path(folder), report);
}

}  // namespace platform::zip
