#include "engine/task_config.h"

#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/download_engine.h"
#include "engine/notify.h"
#include "engine/number_text.h"
#include "engine/share_page_refresh.h"
#include "engine/task_cipher.h"
#include "engine/task_files.h"
#include "engine/task_table.h"
#include "engine/worker_threads.h"
#include "platform/files/files.h"
#include "platform/files/profile.h"

namespace engine {

namespace {

constexpr std::string_view kNoteSection = "说明";
constexpr std::string_view kTaskSection = "Task";
constexpr std::string_view kInfoSection = "Info";

// The note the writer stores is DecipherText(NoteCipherText, NoteKey()), which is NoteText when
// the key's tag can be computed and "" when it cannot. It is found by enciphering NoteText
// instead: deciphering serves window events on the UI thread, and a save runs inside the
// progress timer, where a served click could release the very task being saved.
std::string note_to_store() {
  return EncipherText(NoteText, NoteKey()) == NoteCipherText ? std::string(NoteText) : "";
}

std::string thread_key(int number) { return "Thread" + std::to_string(number); }

}  // namespace

void SaveTaskConfig(std::string_view path, int id) {
  const DownloadTaskSpec spec = SpecOf(id);
  const TaskRuntime& runtime = RuntimeOf(id);
  const std::string url = EncryptUrl() ? EncipherText(spec.Url, UrlKey()) : spec.Url;
  std::vector<platform::files::ProfileEntry> entries = {
      {std::string(kNoteSection), "友情提示", std::string(kConfigHint)},
      {std::string(kNoteSection), "下载说明", note_to_store()},
      {std::string(kTaskSection), "Url", url},
      {std::string(kTaskSection), "DownUrl", spec.DownUrl},
      {std::string(kTaskSection), "LocatName", spec.LocatName},
      {std::string(kTaskSection), "Size", std::to_string(spec.Size)},
      {std::string(kTaskSection), "InitThreadCount", std::to_string(spec.InitThreadCount)},
      {std::string(kInfoSection), "AlreadyTime", std::to_string(runtime.AlreadyTime)},
      {std::string(kInfoSection), "StatrTime", std::to_string(runtime.StartTime)},
      {std::string(kInfoSection), "FileSize", std::to_string(runtime.FileSize)},
      {std::string(kInfoSection), "AlreadySize", std::to_string(runtime.AlreadySize)},
  };
  // Segments are planned to InitThreadCount entries before any save; a key without a segment
  // behind it records no progress.
  for (int number = 1; number <= spec.InitThreadCount; ++number) {
    const bool planned = static_cast<std::size_t>(number) <= runtime.Segments.size();
    const std::int32_t done = planned ? runtime.Segments[number - 1].Done.load() : 0;
    entries.push_back({std::string(kInfoSection), thread_key(number), std::to_string(done)});
  }
  platform::files::write_profile_strings(path, entries);
}

bool LoadTaskConfig(std::string_view path, int id) {
  auto read = [path](std::string_view section, std::string_view key, std::string_view fallback) {
    return platform::files::read_profile_string(path, section, key, fallback);
  };
  auto read_number = [&](std::string_view section, std::string_view key,
                         std::string_view fallback) {
    return LeadingInteger(read(section, key, fallback));
  };

  if (EncipherText(read(kNoteSection, "下载说明", NoteText), NoteKey()) != NoteCipherText) {
    return false;
  }
  std::string url = read(kTaskSection, "Url", "-1");
  if (EncryptUrl()) url = DecipherText(url, UrlKey());
  const std::string down_url = read(kTaskSection, "DownUrl", "-1");
  url = RefreshSharedUrl(std::move(url), down_url, path);
  const std::string locat_name = read(kTaskSection, "LocatName", "-1");
  const std::int32_t size = read_number(kTaskSection, "Size", "10240");
  // The count is one byte: larger numbers keep their low byte.
  const auto thread_count =
      static_cast<std::uint8_t>(read_number(kTaskSection, "InitThreadCount", "3"));

  EditSpec(id, [&](DownloadTaskSpec& spec) {
    spec.Url = url;
    spec.DownUrl = down_url;
    spec.LocatName = locat_name;
    spec.Size = size;
    spec.InitThreadCount = thread_count;
  });
  TaskRuntime& runtime = RuntimeOf(id);
  runtime.AlreadyTime = read_number(kInfoSection, "AlreadyTime", "-1");
  runtime.StartTime = read_number(kInfoSection, "StatrTime", "-1");
  runtime.FileSize = read_number(kInfoSection, "FileSize", "-1");
  runtime.AlreadySize = read_number(kInfoSection, "AlreadySize", "-1");
  runtime.Segments.assign(thread_count, SegmentRecord{});
  for (int number = 1; number <= thread_count; ++number) {
    runtime.Segments[number - 1].Done = read_number(kInfoSection, thread_key(number), "0");
  }
  return runtime.FileSize > 0 && url.size() >= kShortestUrl &&
         platform::files::exists(locat_name);
}

std::int32_t DownloadEngine::ResumeFromConfig(std::string_view target, std::uint8_t id,
                                              std::string_view address) {
  // A task whose threads still run must not have its record reloaded under them.
  if (!IsTaskRunning(id) || TaskThreadsAlive(id)) {
    NotifyState(id, kNotifyError, texts::kResumeBadState);
    return -1;
  }
  TaskRuntime& runtime = RuntimeOf(id);
  if (!LoadTaskConfig(ConfigNameOf(TempNameOf(target)), id)) {
    runtime.State = kStateError;
    NotifyState(id, kNotifyError, texts::kResumeBadConfig);
    ReleaseTask(id);
    return -1;
  }
  NotifyState(id, kNotifyInfo, texts::kResuming);
  runtime.StartTime = UnixNow() - runtime.AlreadyTime;
  if (!platform::files::exists(LocatNameOf(id))) {
    NotifyState(id, kNotifyError, texts::kResumeFileMissing);
    ReleaseTask(id);
    return -1;
  }
  EditSpec(id, [address](DownloadTaskSpec& spec) { spec.Url = address; });
  StartTask(id);
  return id;
}

}  // namespace engine
