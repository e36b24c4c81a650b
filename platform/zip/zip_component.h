// The main window's ZIP component: packs a folder or a file into an archive and unpacks an
// archive into a folder, raising progress events on the calling thread as it goes.
//
// Paths are Windows-style GBK texts (see platform/files). Entry names are written as UTF-8 with
// the language-encoding flag and read as UTF-8 when that flag is set, else as code page 936
// (see entry_names.h for the names Unix tools write).
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace platform::zip {

enum class ProgressEvent { Compress, Unpack };

// Why the last operation did not do everything it was asked to.
enum class Failure {
  None,
  SourceMissing,   // nothing to pack, or no archive to unpack
  ReadFailed,      // a file to pack could not be read whole
  WriteFailed,     // the archive or an unpacked file could not be written
  HostileName,     // an entry would land outside the target folder; nothing was written
  DamagedArchive,  // not a readable ZIP archive
  DamagedEntry,    // an entry's data fails its size or CRC check; it was not installed
};

class ZipComponent {
 public:
  // percent is 0-100. Called from within compress() and unpack(), on their thread.
  using ProgressHandler = std::function<void(ProgressEvent event, int percent)>;

  void on_progress(ProgressHandler handler) { progress_ = std::move(handler); }

  // A folder is packed recursively under names relative to it, with a compress event per entry;
  // a file is packed under its bare name without events. The archive is replaced only once the
  // new one is complete and verified, so a failure leaves the previous archive as it was.
  bool compress(std::string_view source, std::string_view archive);

  // Checks every name first, then writes each entry below the folder (created when missing),
  // replacing existing files even when read-only; each file is written whole and checked before
  // it replaces the old one. An unpack event follows each entry, then one with 100.
  bool unpack(std::string_view archive, std::string_view folder);

  // GBK name of the entry the last progress event was about.
  const std::string& current_entry_name() const { return current_entry_name_; }
  Failure failure() const { return failure_; }
  // GBK name of the entry the failure concerns, when it concerns one.
  const std::string& failed_entry_name() const { return failed_entry_name_; }

 private:
  ProgressHandler progress_;
  std::string current_entry_name_;
  Failure failure_ = Failure::None;
  std::string failed_entry_name_;
};

}  // namespace platform::zip
