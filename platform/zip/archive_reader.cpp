#include "platform/zip/archive_reader.h"

#include <minizip/unzip.h>
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/zip/entry_names.h"
#include "platform/zip/entry_times.h"
#include "platform/zip/sibling_temp.h"

namespace fs = std::filesystem;

namespace platform::zip {
namespace {

constexpr unsigned long kEncrypted = 0x1;
constexpr unsigned long kMadeByUnix = 3;  // the host system in the high byte of "version made by"
constexpr std::size_t kMaxNameOrExtra = 65536;  // both are 16-bit lengths
constexpr std::size_t kBufferSize = 256 * 1024;

struct ArchivedEntry {
  EntryName name;
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
  bool encrypted = false;
  std::time_t modified = 0;
};

// The central directory, in archive order; nullopt when it cannot be read.
std::optional<std::vector<ArchivedEntry>> read_directory(unzFile file) {
  std::vector<ArchivedEntry> entries;
  std::vector<char> name(kMaxNameOrExtra + 1), extra(kMaxNameOrExtra);
  int rc = unzGoToFirstFile(file);
  for (; rc == UNZ_OK; rc = unzGoToNextFile(file)) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(file, &info, name.data(), static_cast<uLong>(name.size()),
                                extra.data(), static_cast<uLong>(extra.size()), nullptr,
                                0) != UNZ_OK) {
      return std::nullopt;
    }
    std::string_view raw(name.data(), std::min<std::size_t>(info.size_filename, kMaxNameOrExtra));
    std::string_view extra_field(extra.data(), std::min<std::size_t>(info.size_file_extra, kMaxNameOrExtra));
    ArchivedEntry entry;
    entry.name = decode_entry_name(raw.substr(0, raw.find('\0')), info.flag & kUtf8NameFlag,
                                   (info.version >> 8) == kMadeByUnix);
    entry.crc = static_cast<std::uint32_t>(info.crc);
    entry.size = info.uncompressed_size;
    entry.encrypted = info.flag & kEncrypted;
    entry.modified = timestamp_from_extra(extra_field).value_or(from_dos_datetime(info.dosDate));
    entries.push_back(std::move(entry));
  }
  if (rc != UNZ_END_OF_LIST_OF_FILE) return std::nullopt;
  return entries;
}

class ArchiveReader {
 public:
  ArchiveReader(unzFile file, const OperationReport& report) : file_(file), report_(report) {}

  bool read(const fs::path& folder) {
    std::optional<std::vector<ArchivedEntry>> entries = read_directory(file_);
    if (!entries) return fail(Failure::DamagedArchive, "");
    for (const ArchivedEntry& entry : *entries) {
      if (!stays_inside(entry.name.utf8)) return fail(Failure::HostileName, entry.name.gbk);
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) return fail(Failure::WriteFailed, "");
    bool all_ok = true;
    int rc = unzGoToFirstFile(file_);
    for (std::size_t i = 0; i < entries->size(); ++i, rc = unzGoToNextFile(file_)) {
      const ArchivedEntry& entry = (*entries)[i];
      all_ok = (rc == UNZ_OK ? place(entry, folder) : fail(Failure::DamagedArchive, entry.name.gbk)) && all_ok;
      if (report_.entry_done) report_.entry_done(entry.name.gbk, percent_of(i, entries->size()));
    }
    if (report_.entry_done) {
      report_.entry_done(entries->empty() ? std::string() : entries->back().name.gbk, 100);
    }
    return all_ok;
  }

 private:
  bool place(const ArchivedEntry& entry, const fs::path& folder) {
    fs::path target = folder;
    for (const std::string& step : name_steps(entry.name.utf8)) target /= step;
    std::error_code error;
    if (names_folder(entry.name.utf8) || target == folder) {
      fs::create_directories(target, error);
      return fs::is_directory(target, error) || fail(Failure::WriteFailed, entry.name.gbk);
    }
    if (entry.encrypted) return fail(Failure::DamagedEntry, entry.name.gbk);  // no password to give
    fs::create_directories(target.parent_path(), error);
    SiblingTemp temp(target);
    if (!temp.created()) return fail(Failure::WriteFailed, entry.name.gbk);
    if (!extract_checked(entry, temp)) return false;
    if (!temp.finish(false, &entry.modified) || !temp.commit()) {
      return fail(Failure::WriteFailed, entry.name.gbk);
    }
    return true;
  }

  // Inflates the current entry into temp; its size and CRC must match the directory's.
  bool extract_checked(const ArchivedEntry& entry, SiblingTemp& temp) {
    if (unzOpenCurrentFile(file_) != UNZ_OK) return fail(Failure::DamagedEntry, entry.name.gbk);
    buffer_.resize(kBufferSize);
    std::uint64_t size = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    int got;
    bool written = true;
    while ((got = unzReadCurrentFile(file_, buffer_.data(), static_cast<unsigned>(buffer_.size()))) > 0) {
      if (!temp.write_all(buffer_.data(), static_cast<std::size_t>(got))) {
        written = false;
        break;
      }
      crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer_.data()), static_cast<uInt>(got));
      size += static_cast<std::uint64_t>(got);
    }
    bool closed = unzCloseCurrentFile(file_) == UNZ_OK;  // reports a CRC mismatch of its own
    if (!written) return fail(Failure::WriteFailed, entry.name.gbk);
    if (got < 0 || !closed || size != entry.size || crc != entry.crc) {
      return fail(Failure::DamagedEntry, entry.name.gbk);
    }
    return true;
  }

  bool fail(Failure failure, const std::string& gbk_name) {
    report_.fail(failure, gbk_name);
    return false;
  }

  unzFile file_;
  const OperationReport& report_;
  std::vector<char> buffer_;
};

}  // namespace

bool read_archive(const fs::path& archive, const fs::path& folder, const OperationReport& report) {
  unzFile file = unzOpen64(archive.c_str());
  if (!file) {
    report.fail(Failure::DamagedArchive, "");
    return false;
  }
  bool ok = ArchiveReader(file, report).read(folder);
  unzClose(file);
  return ok;
}

}  // namespace platform::zip
