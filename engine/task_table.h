// The engine's task table: one record per task id, shared by every engine object, the progress
// timer and the worker threads.
//
// Records live at stable addresses: a slot, once filled, is never moved or freed while a task can
// run (only ClearTaskTable frees them, after every thread has left), so workers and the timer index
// the table without a lock. Counters that several threads change are atomics; the texts of a
// task's spec are read and changed under the record's own mutex.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace engine {

// What a client fills to start a download; the engine keeps its own normalised copy.
struct DownloadTaskSpec {
  std::string Url;        // address of the file
  std::string DownUrl;    // the page the file belongs to, sent as the Referer
  std::string LocatName;  // local file; while the task runs the temporary name (+ "!BT")
  std::int32_t Size = 0;  // receive block size in bytes
  std::uint8_t InitThreadCount = 0;
  std::string ExtraHeaders;  // further request-header lines, sent verbatim
};

// One worker's byte range. Done is written by its worker while the timer and the savers read it.
struct SegmentRecord {
  std::atomic<std::int32_t> Start{0};
  std::atomic<std::int32_t> End{0};  // inclusive
  std::atomic<std::int32_t> Done{0};

  SegmentRecord() = default;
  SegmentRecord(const SegmentRecord& other);
  SegmentRecord& operator=(const SegmentRecord& other);
};

enum TaskState : std::int32_t {
  kStateReset = 0,        // transient while a released entry is reused
  kStateDownloading = 2,  // worker 1's ranged request was accepted
  kStatePausing = 4,      // workers stop after their current block, then save and release
  kStateStopping = 6,     // handled like kStatePausing
  kStateFree = 90,        // released; the id may be handed out again
  kStateError = 98,
  kStateStarting = 99,
};

// Ids are one byte and 255 names "no task" in notifications, so a table holds at most 254 tasks.
inline constexpr int kMaxTasks = 254;
inline constexpr std::uint8_t kNoTaskId = 255;

// Shorter addresses cannot name a file on a server.
inline constexpr std::size_t kShortestUrl = 10;

struct TaskRuntime {
  // Resized only while no worker of the task runs: by worker 1 before it starts the others, or by
  // the resume loader before the task is started.
  std::vector<SegmentRecord> Segments = std::vector<SegmentRecord>(1);
  std::atomic<std::int32_t> State{kStateReset};
  std::atomic<std::int32_t> ActiveThreads{0};  // workers that have not left yet
  std::atomic<std::int32_t> StartTime{0};      // UnixNow seconds; saved as "StatrTime"
  std::atomic<std::int32_t> AlreadyTime{0};    // transfer seconds before the last pause or error
  std::atomic<std::int32_t> FileSize{0};       // -1 after a failed size probe
  std::atomic<std::int32_t> AlreadySize{0};    // bytes received, all segments together

  // A cooperative stop: a worker that sees it aborts its transfer and leaves at once, without
  // saving, notifying or releasing — the stopping side finishes the task once every thread left.
  std::atomic<bool> StopRequested{false};
  // Threads of the task that have not returned yet; the launcher counts a thread before it
  // exists, so the count reaches 0 only when no thread of the run can start another.
  std::atomic<std::int32_t> LiveThreads{0};
  // Bumped by every ReleaseTask, so a waiting operation can tell that the run ended meanwhile.
  std::atomic<std::uint32_t> Releases{0};

  std::mutex ThreadsMutex;
  std::vector<std::thread> Threads;  // guarded by ThreadsMutex
};

// Length of the table (ids 1..TaskCount() name records).
std::int32_t TaskCount();
bool TaskExists(int id);  // 1 <= id <= TaskCount()

// The record of an existing id (TaskExists(id)).
TaskRuntime& RuntimeOf(int id);
DownloadTaskSpec SpecOf(int id);  // a copy taken under the record's lock
std::string LocatNameOf(int id);
void EditSpec(int id, const std::function<void(DownloadTaskSpec&)>& edit);

// Appends a record holding a copy of the client's task; returns its id, or -1 when the table is
// full.
int AppendTask(const DownloadTaskSpec& spec);

// Lowest id in state kStateFree, or -1.
int FindFreeTaskId();

// Returns the task to kStateFree: texts emptied, Size, times, sizes and every Done zeroed;
// InitThreadCount, ExtraHeaders and the segment bounds stay.
void ReleaseTask(int id);

// Frees every record; the caller has made sure that no thread of any task is left.
void ClearTaskTable();

}  // namespace engine
