// Deflates the files to pack on worker threads, in chunks, and hands the chunks back in order.
//
// Each chunk is an independent piece of one raw deflate stream: it is primed with the 32 KiB
// before it and ends on a byte boundary (a sync flush), the last one finishes the stream, so the
// pieces simply follow each other in the archive. Their CRCs combine into the entry's. At most a
// fixed number of chunks are in flight, so memory stays flat however large the tree is.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/zip/source_tree.h"

namespace platform::zip {

struct Chunk {
  bool ok = false;        // false when the file could not be read as far as its listed size
  std::string bytes;      // deflated, or as read for a stored entry
  std::uint32_t crc = 0;  // of the uncompressed bytes
  std::uint64_t length = 0;  // uncompressed
};

class ChunkPipeline {
 public:
  // entries must outlive the pipeline. stored[i] packs entry i without deflating it.
  ChunkPipeline(const std::vector<SourceEntry>& entries, const std::vector<bool>& stored, int level);
  ~ChunkPipeline();
  ChunkPipeline(const ChunkPipeline&) = delete;
  ChunkPipeline& operator=(const ChunkPipeline&) = delete;

  // How many chunks entry i is cut into (none for a folder).
  std::size_t chunk_count(std::size_t entry) const;
  // The next chunk in entry order; blocks until a worker has it ready.
  Chunk next();

 private:
  struct Job {
    std::size_t entry;
    std::uint64_t offset;
    std::uint64_t length;
    bool last;
  };
  struct Slot {
    bool ready = false;
    Chunk chunk;
  };

  void work();

  const std::vector<SourceEntry>& entries_;
  const std::vector<bool>& stored_;
  int level_;
  std::vector<Job> jobs_;
  std::vector<std::size_t> chunk_counts_;
  std::vector<Slot> slots_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_job_ = 0;   // the next job a worker takes
  std::size_t next_taken_ = 0;  // the next chunk next() hands out
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace platform::zip
