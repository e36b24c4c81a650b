#include "platform/zip/archive_writer.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <optional>

#include "platform/codepage/codepage.h"
#include "platform/zip/chunk_pipeline.h"
#include "platform/zip/entry_names.h"
#include "platform/zip/entry_times.h"
#include "platform/zip/sibling_temp.h"

namespace platform::zip {
namespace {

constexpr int kLevel = 6;  // zlib's default balance of time and size
// Sizes from here on get ZIP64 fields: deflate may grow incompressible data a little.
constexpr std::uint64_t kZip64Threshold = 0xF0000000ULL;
constexpr unsigned long kDosFolder = 0x10;
constexpr unsigned long kDosArchive = 0x20;
constexpr unsigned long kMadeByDos = 0;

// Archives inside the tree are already compressed: deflating them again costs time and gains
// nothing.
bool worth_storing(const SourceEntry& entry) {
  std::string name = entry.utf8_name;
  if (name.size() < 4) return false;
  std::transform(name.end() - 4, name.end(), name.end() - 4,
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name.ends_with(".zip");
}

struct WrittenEntry {
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
};

// What the directory of the finished archive must say; minizip's own bookkeeping is not trusted
// blindly (its 64-bit handling has been wrong before).
bool directory_matches(const std::filesystem::path& archive, const std::vector<SourceEntry>& entries,
                       const std::vector<WrittenEntry>& written) {
  unzFile file = unzOpen64(archive.c_str());
  if (!file) return false;
  unz_global_info64 global{};
  bool ok = unzGetGlobalInfo64(file, &global) == UNZ_OK && global.number_entry == entries.size();
  std::vector<char> name(65536);
  int rc = unzGoToFirstFile(file);
  for (std::size_t i = 0; ok && i < entries.size(); ++i, rc = unzGoToNextFile(file)) {
    unz_file_info64 info{};
    ok = rc == UNZ_OK &&
         unzGetCurrentFileInfo64(file, &info, name.data(), static_cast<uLong>(name.size()), nullptr,
                                 0, nullptr, 0) == UNZ_OK &&
         entries[i].utf8_name == name.data() && info.crc == written[i].crc &&
         info.uncompressed_size == written[i].size && (info.flag & kUtf8NameFlag);
  }
  return unzClose(file) == UNZ_OK && ok;
}

bool sync_to_disk(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

class ArchiveWriter {
 public:
  ArchiveWriter(const std::vector<SourceEntry>& entries, const OperationReport& report)
      : entries_(entries), report_(report), written_(entries.size()) {
    for (const SourceEntry& entry : entries) stored_.push_back(!entry.is_folder && worth_storing(entry));
  }

  bool write(const std::filesystem::path& archive) {
    SiblingTemp temp(archive);
    if (!temp.created() || !temp.finish(false, nullptr)) return fail(Failure::WriteFailed, "");
    zipFile file = zipOpen64(temp.path().c_str(), APPEND_STATUS_CREATE);
    if (!file) return fail(Failure::WriteFailed, "");
    bool entries_ok = write_entries(file);
    bool closed = zipClose(file, nullptr) == ZIP_OK;
    if (!entries_ok) return false;
    if (!closed || !directory_matches(temp.path(), entries_, written_) ||
        !sync_to_disk(temp.path()) || !temp.commit()) {
      return fail(Failure::WriteFailed, "");
    }
    return true;
  }

 private:
  bool write_entries(zipFile file) {
    std::optional<ChunkPipeline> pipeline;
    if (std::any_of(entries_.begin(), entries_.end(), [](auto& e) { return !e.is_folder; })) {
      pipeline.emplace(entries_, stored_, kLevel);
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (!write_entry(file, i, pipeline ? &*pipeline : nullptr)) return false;
      if (report_.entry_done) {
        report_.entry_done(codepage::utf8_to_gbk(entries_[i].utf8_name), percent_of(i + 1, entries_.size()));
      }
    }
    return true;
  }

  bool write_entry(zipFile file, std::size_t index, ChunkPipeline* pipeline) {
    const SourceEntry& entry = entries_[index];
    zip_fileinfo info{};
    info.dosDate = to_dos_datetime(entry.modified);
    info.external_fa = entry.is_folder ? kDosFolder : kDosArchive;
    std::string extra = timestamp_extra(entry.modified);
    auto extra_size = static_cast<uInt>(extra.size());
    int method = entry.is_folder || stored_[index] ? 0 : Z_DEFLATED;
    if (zipOpenNewFileInZip4_64(file, entry.utf8_name.c_str(), &info, extra.data(), extra_size,
                                extra.data(), extra_size, nullptr, method, kLevel, 1, -MAX_WBITS,
                                8, Z_DEFAULT_STRATEGY, nullptr, 0, kMadeByDos, kUtf8NameFlag,
                                entry.size >= kZip64Threshold) != ZIP_OK) {
      return fail(Failure::WriteFailed, entry.utf8_name);
    }
    WrittenEntry& written = written_[index];
    std::size_t chunks = entry.is_folder ? 0 : pipeline->chunk_count(index);
    for (std::size_t c = 0; c < chunks; ++c) {
      Chunk chunk = pipeline->next();
      if (!chunk.ok) return fail(Failure::ReadFailed, entry.utf8_name);
      if (zipWriteInFileInZip(file, chunk.bytes.data(), static_cast<unsigned>(chunk.bytes.size())) != ZIP_OK) {
        return fail(Failure::WriteFailed, entry.utf8_name);
      }
      written.crc = static_cast<std::uint32_t>(
          crc32_combine(written.crc, chunk.crc, static_cast<z_off_t>(chunk.length)));
      written.size += chunk.length;
    }
    if (zipCloseFileInZipRaw64(file, written.size, written.crc) != ZIP_OK) {
      return fail(Failure::WriteFailed, entry.utf8_name);
    }
    return true;
  }

  bool fail(Failure failure, const std::string& utf8_name) {
    report_.fail(failure, codepage::utf8_to_gbk(utf8_name));
    return false;
  }

  const std::vector<SourceEntry>& entries_;
  const OperationReport& report_;
  std::vector<bool> stored_;
  std::vector<WrittenEntry> written_;
};

}  // namespace

bool write_archive(const std::vector<SourceEntry>& entries, const std::filesystem::path& archive,
                   const OperationReport& report) {
  return ArchiveWriter(entries, report).write(archive);
}

}  // namespace platform::zip
