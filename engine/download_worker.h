// The routine every worker thread of a download runs.
#pragma once
#include <string>

namespace engine {

// argument: the task id and the worker number joined by a comma ("3,1").
void DownloadWorker(std::string argument);

}  // namespace engine
