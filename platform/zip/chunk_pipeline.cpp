#include "platform/zip/chunk_pipeline.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>

namespace platform::zip {
namespace {

constexpr std::uint64_t kChunkSize = 1 << 20;
constexpr std::size_t kDictionarySize = 32 * 1024;  // deflate's window
constexpr std::size_t kChunksInFlight = 16;

// Reads exactly length bytes at offset; false on an error or a file that has become shorter.
bool read_exactly(int fd, std::uint64_t offset, std::size_t length, char* into) {
  std::size_t done = 0;
  while (done < length) {
    ssize_t got = ::pread(fd, into + done, length - done, static_cast<off_t>(offset + done));
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

std::uint32_t crc_of(const char* bytes, std::size_t length) {
  return static_cast<std::uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes), static_cast<uInt>(length)));
}

// Deflates input (whose first `dictionary` bytes only prime the window) into out.
bool deflate_piece(z_stream& stream, const std::string& input, std::size_t dictionary, bool last,
                   std::string& out) {
  if (deflateReset(&stream) != Z_OK) return false;
  if (dictionary > 0 &&
      deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(input.data()),
                           static_cast<uInt>(dictionary)) != Z_OK) {
    return false;
  }
  std::size_t length = input.size() - dictionary;
  out.resize(deflateBound(&stream, static_cast<uLong>(length)) + 64);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + dictionary));
  stream.avail_in = static_cast<uInt>(length);
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  for (;;) {
    int rc = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    if (rc == Z_STREAM_ERROR) return false;
    bool complete = last ? rc == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out != 0;
    if (complete) break;
    std::size_t used = out.size() - stream.avail_out;  // out of room: grow and go on
    out.resize(out.size() * 2);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + used);
    stream.avail_out = static_cast<uInt>(out.size() - used);
  }
  out.resize(out.size() - stream.avail_out);
  return true;
}

// One chunk of a file: read (with the window before it), checksummed, deflated unless stored.
Chunk make_chunk(const SourceEntry& entry, bool store, std::uint64_t offset, std::uint64_t length,
                 bool last, std::string& input, z_stream& stream) {
  Chunk chunk;
  int fd = ::open(entry.host_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return chunk;
  std::size_t dictionary =
      store ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(kDictionarySize, offset));
  input.resize(dictionary + length);
  bool read = read_exactly(fd, offset - dictionary, input.size(), input.data());
  ::close(fd);
  if (!read) return chunk;
  chunk.crc = crc_of(input.data() + dictionary, length);
  chunk.length = length;
  if (store) {
    chunk.bytes.assign(input, dictionary);
    chunk.ok = true;
  } else {
    chunk.ok = deflate_piece(stream, input, dictionary, last, chunk.bytes);
  }
  return chunk;
}

}  // namespace

ChunkPipeline::ChunkPipeline(const std::vector<SourceEntry>& entries,
                             const std::vector<bool>& stored, int level)
    : entries_(entries), stored_(stored), level_(level), chunk_counts_(entries.size(), 0) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].is_folder) continue;
    std::uint64_t size = entries[i].size;
    std::uint64_t offset = 0;
    do {
      std::uint64_t length = std::min(kChunkSize, size - offset);
      jobs_.push_back({i, offset, length, offset + length == size});
      ++chunk_counts_[i];
      offset += length;
    } while (offset < size);
  }
  slots_.resize(jobs_.size());
  unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, jobs_.size()));
  for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
}

ChunkPipeline::~ChunkPipeline() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::size_t ChunkPipeline::chunk_count(std::size_t entry) const { return chunk_counts_[entry]; }

Chunk ChunkPipeline::next() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return slots_[next_taken_].ready; });
  Chunk chunk = std::move(slots_[next_taken_].chunk);
  slots_[next_taken_].chunk = Chunk{};
  ++next_taken_;
  lock.unlock();
  changed_.notify_all();
  return chunk;
}

void ChunkPipeline::work() {
  z_stream stream{};
  bool deflating = deflateInit2(&stream, level_, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  std::string input;
  for (;;) {
    std::size_t job;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] {
        return stopping_ || (next_job_ < jobs_.size() && next_job_ < next_taken_ + kChunksInFlight);
      });
      if (stopping_) break;
      job = next_job_++;
    }
    const Job& todo = jobs_[job];
    Chunk chunk = deflating ? make_chunk(entries_[todo.entry], stored_[todo.entry], todo.offset,
                                         todo.length, todo.last, input, stream)
                            : Chunk{};
    {
      std::lock_guard lock(mutex_);
      slots_[job].chunk = std::move(chunk);
      slots_[job].ready = true;
    }
    changed_.notify_all();
  }
  if (deflating) deflateEnd(&stream);
}

}  // namespace platform::zip
