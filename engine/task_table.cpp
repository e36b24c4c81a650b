#include "engine/task_table.h"

#include <array>
#include <memory>

namespace engine {

SegmentRecord::SegmentRecord(const SegmentRecord& other)
    : Start(other.Start.load()), End(other.End.load()), Done(other.Done.load()) {}

SegmentRecord& SegmentRecord::operator=(const SegmentRecord& other) {
  Start = other.Start.load();
  End = other.End.load();
  Done = other.Done.load();
  return *this;
}

namespace {

struct TaskRecord {
  std::mutex spec_mutex;
  DownloadTaskSpec spec;  // guarded by spec_mutex
  TaskRuntime runtime;
};

// Slots are filled on the UI thread before the count is published, so a reader that sees the
// count also sees the record.
std::array<std::unique_ptr<TaskRecord>, kMaxTasks> task_slots;
std::atomic<std::int32_t> task_count{0};

TaskRecord& record_of(int id) { return *task_slots[id - 1]; }

}  // namespace

std::int32_t TaskCount() { return task_count.load(std::memory_order_acquire); }

bool TaskExists(int id) { return id >= 1 && id <= TaskCount(); }

TaskRuntime& RuntimeOf(int id) { return record_of(id).runtime; }

DownloadTaskSpec SpecOf(int id) {
  TaskRecord& record = record_of(id);
  std::lock_guard lock(record.spec_mutex);
  return record.spec;
}

std::string LocatNameOf(int id) {
  TaskRecord& record = record_of(id);
  std::lock_guard lock(record.spec_mutex);
  return record.spec.LocatName;
}

void EditSpec(int id, const std::function<void(DownloadTaskSpec&)>& edit) {
  TaskRecord& record = record_of(id);
  std::lock_guard lock(record.spec_mutex);
  edit(record.spec);
}

int AppendTask(const DownloadTaskSpec& spec) {
  const std::int32_t count = TaskCount();
  if (count >= kMaxTasks) return -1;
  task_slots[count] = std::make_unique<TaskRecord>();
  task_slots[count]->spec = spec;
  task_count.store(count + 1, std::memory_order_release);
  return count + 1;
}

int FindFreeTaskId() {
  for (int id = 1; id <= TaskCount(); ++id) {
    if (RuntimeOf(id).State == kStateFree) return id;
  }
  return -1;
}

void ReleaseTask(int id) {
  TaskRuntime& runtime = RuntimeOf(id);
  runtime.ActiveThreads = 0;
  EditSpec(id, [](DownloadTaskSpec& spec) {
    spec.Url.clear();
    spec.DownUrl.clear();
    spec.LocatName.clear();
    spec.Size = 0;
  });
  runtime.AlreadyTime = 0;
  runtime.StartTime = 0;
  runtime.FileSize = 0;
  runtime.AlreadySize = 0;
  for (SegmentRecord& segment : runtime.Segments) segment.Done = 0;
  ++runtime.Releases;
  // Last: an entry that reads as free is already empty, so CreateTask can take it at once.
  runtime.State = kStateFree;
}

void ClearTaskTable() {
  const std::int32_t count = TaskCount();
  task_count.store(0, std::memory_order_release);
  for (int index = 0; index < count; ++index) task_slots[index].reset();
}

}  // namespace engine
