// How the engine reports to its client: the two callbacks given to BT_初始化, the module-wide
// settings stored with them, the notification codes and the texts the engine's operations send.
#pragma once
#include <cstdint>
#include <string_view>

namespace engine {

// (task id, file size, received, speed KB/s, percent, total speed KB/s)
using ProgressCallback = void (*)(std::int32_t, std::int32_t, std::int32_t, float, float, float);
// (task id, code, local path, message); both texts belong to the engine and live for the call.
using StateCallback = void (*)(std::int32_t, std::int32_t, std::string_view, std::string_view);

enum NotifyCode : std::int32_t {
  kNotifyInfo = 1,            // a task starts or resumes
  kNotifyComplete = 3,
  kNotifyPaused = 4,
  kNotifyContinuing = 5,
  kNotifyStopped = 6,
  kNotifyThreadInfo = 7,      // about single worker threads
  kNotifyProbeFailed = 97,
  kNotifyError = 98,
  kNotifyCreated = 99,
};

namespace texts {
inline constexpr std::string_view kPaused = "下载被暂停";
inline constexpr std::string_view kPausing = "暂停中...";
inline constexpr std::string_view kContinuing = "继续下载,启动中...";
inline constexpr std::string_view kStopped = "下载被停止！";
inline constexpr std::string_view kBadTaskId = "任务ID错误！";
inline constexpr std::string_view kBadTaskIdOnStart = "任务ID错误！ - 10000";
inline constexpr std::string_view kBadAddress = "下载地址有误";
inline constexpr std::string_view kPathBusy = "此任务正在下载中";
inline constexpr std::string_view kTableFull = "任务数量已达上限(254个),无法创建新任务";
inline constexpr std::string_view kCreatedPrefix = "任务启动中,任务ID：";
inline constexpr std::string_view kNotInitialised = "请选用 BT_初始化() 命令进行初始化后才能下载";
inline constexpr std::string_view kContinueFileMissing =
    "继续下载失败，原因：文件不存在，可能被删除了！";
inline constexpr std::string_view kResuming = "正在启动断点续传下载...";
inline constexpr std::string_view kResumeBadState = "断点持续失败，原因：任务状态不正常！";
inline constexpr std::string_view kResumeBadConfig =
    "断点持续失败，原因：配置文件不存在，或被改过！";
inline constexpr std::string_view kResumeFileMissing =
    "断点续传下载失败，原因：文件不存在，可能被删除了！";
inline constexpr std::string_view kNoTransfer = "下载线程不可用,无法下载";
inline constexpr std::string_view kNoThread = "无法创建下载线程";
}  // namespace texts

// Module-wide settings, shared by every engine object and read from worker threads.
void SetCallbacks(ProgressCallback progress, StateCallback state);
ProgressCallback CurrentProgressCallback();
StateCallback CurrentStateCallback();
void SetEncryptUrl(bool encrypt);
bool EncryptUrl();

// Sends one state notification on the calling thread. Id 0 and ids beyond the table are dropped;
// id 255 belongs to no task and carries an empty local path; any other id carries the task's
// current LocatName.
void NotifyState(int id, std::int32_t code, std::string_view text);

}  // namespace engine
