// The threads of a task's run: started on the worker entry, counted while they live, and joined
// once they have left. Nothing ends a thread by force; stopping is the StopRequested flag.
#pragma once
#include <string>

namespace engine {

// What a worker thread runs, given "task id,worker number". Tests put their own routine here.
using WorkerEntry = void (*)(std::string argument);
// nullptr restores the engine's own entry.
void SetWorkerEntry(WorkerEntry entry);

// Starts worker worker_number of task id and adds it to the task's Threads; false when the
// system refused a thread.
bool LaunchWorker(int id, int worker_number);

bool TaskThreadsAlive(int id);

enum class WaitStyle { KeepWindowsResponsive, Plain };
// Waits until every thread of the task has returned, then joins them. Never called from one of
// the task's own threads.
void JoinTaskThreads(int id, WaitStyle style);

}  // namespace engine
