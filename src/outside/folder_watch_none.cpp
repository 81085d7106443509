// Platforms without change notification: the timer alone keeps the folders in step.
#include <thread>

#include "outside/folder_watch.h"

namespace tessaro {

std::unique_ptr<FolderWatch> MakeFolderWatch() { return std::make_unique<SilentFolderWatch>(); }

bool WaitReadable(WaitHandle, std::chrono::milliseconds timeout) {
  std::this_thread::sleep_for(timeout);
  return false;
}

}  // namespace tessaro
