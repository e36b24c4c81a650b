#include "engine/notify.h"

#include <atomic>
#include <string>

#include "engine/task_table.h"

namespace engine {

namespace {
std::atomic<ProgressCallback> progress_callback{nullptr};
std::atomic<StateCallback> state_callback{nullptr};
std::atomic<bool> encrypt_url{false};
}  // namespace

void SetCallbacks(ProgressCallback progress, StateCallback state) {
  progress_callback = progress;
  state_callback = state;
}

ProgressCallback CurrentProgressCallback() { return progress_callback; }
StateCallback CurrentStateCallback() { return state_callback; }

void SetEncryptUrl(bool encrypt) { encrypt_url = encrypt; }
bool EncryptUrl() { return encrypt_url; }

void NotifyState(int id, std::int32_t code, std::string_view text) {
  const StateCallback callback = state_callback;
  if (id == 0 || callback == nullptr) return;
  if (id == kNoTaskId) {
    callback(kNoTaskId, code, "", text);
    return;
  }
  if (!TaskExists(id)) return;
  const std::string local_path = LocatNameOf(id);
  callback(id, code, local_path, text);
}

}  // namespace engine
