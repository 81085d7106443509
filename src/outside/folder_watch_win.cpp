// Change notification through ReadDirectoryChangesW, overlapped: one read is always under
// way on the folder, and its completion signals the event that waiters wait on.
#include <cstddef>
#include <string>

#include "outside/folder_watch.h"
#include "outside/windows_api.h"

namespace tessaro {

namespace {

// Names made, removed or renamed, files written or resized; not what is only read.
constexpr DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// What the system answers where a folder cannot be watched at all (shares of some servers,
// some file systems): the timer then works alone, as on Linux over such a share.
bool NotSupported(DWORD error) {
  return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
         error == ERROR_INVALID_PARAMETER;
}

// A folder changing without pause still lets TakeChanges return.
constexpr int kReadsTakenAtOnce = 64;

class DirectoryChangesWatch : public FolderWatch {
 public:
  // Manual reset: the event stays signalled until TakeChanges takes the changes.
  DirectoryChangesWatch() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~DirectoryChangesWatch() override {
    Close();
    if (event_ != nullptr) ::CloseHandle(event_);
  }
  DirectoryChangesWatch(const DirectoryChangesWatch&) = delete;
  DirectoryChangesWatch& operator=(const DirectoryChangesWatch&) = delete;

  Status Watch(const std::string& folder) override {
    // A folder being removed waits for this handle to be closed: it is let go and opened
    // again.
    if (folder == folder_ && (folder.empty() || unsupported_ || (Open() && !DeletePending()))) {
      return Status::Ok();
    }
    Close();
    folder_ = folder;
    unsupported_ = false;
    if (folder.empty() || event_ == nullptr) return Status::Ok();
    folderHandle_ =
        ::CreateFileW(LongPath(folder).c_str(), FILE_LIST_DIRECTORY,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (!Open()) {
      return Status::Failed("Cannot watch " + folder + ": " + WindowsErrorText(::GetLastError()));
    }
    const DWORD error = Arm();
    if (error == ERROR_SUCCESS) return Status::Ok();
    Close();
    unsupported_ = NotSupported(error);
    if (unsupported_) return Status::Ok();
    return Status::Failed("Cannot watch " + folder + ": " + WindowsErrorText(error));
  }

  WaitHandle waitHandle() const override {
    return event_ != nullptr ? reinterpret_cast<WaitHandle>(event_) : kNoWaitHandle;
  }

  // The system keeps the changes made while no read is under way and hands them to the
  // next read at once: those are taken too, so that a change is told as one, not in parts
  // over later calls.
  int TakeChanges() override {
    int changes = 0;
    for (int reads = 0; reads < kReadsTakenAtOnce && pending_; ++reads) {
      if (::WaitForSingleObject(event_, 0) != WAIT_OBJECT_0) break;
      changes += TakeRead();
    }
    return changes;
  }

 private:
  // The changes of the read just completed; the next read is started.
  int TakeRead() {
    DWORD length = 0;
    if (!::GetOverlappedResult(folderHandle_, &reading_, &length, FALSE)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_IO_INCOMPLETE) return 0;
      pending_ = false;
      // More changes than the buffer holds: any file may have changed.
      if (error == ERROR_NOTIFY_ENUM_DIR && Arm() == ERROR_SUCCESS) return 1;
      // The folder is being removed (the system answers "access denied" then) or cannot be
      // read any more: let go of it so that it can go; the next Watch of it opens it again.
      Close();
      unsupported_ = NotSupported(error);
      return unsupported_ ? 0 : 1;
    }
    pending_ = false;
    // No record at all: there were more changes than the buffer holds.
    int changes = length == 0 ? 1 : 0;
    for (DWORD at = 0; at < length;) {
      const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
      ++changes;
      if (record->NextEntryOffset == 0) break;
      at += record->NextEntryOffset;
    }
    // Changes inside a folder being removed come before its own removal, which waits for
    // this handle to be closed.
    if (DeletePending() || Arm() != ERROR_SUCCESS) {
      Close();
      return changes + 1;
    }
    return changes;
  }

  bool Open() const { return folderHandle_ != INVALID_HANDLE_VALUE; }

  // Starts the next read; the error that prevented it, if any. Changes made between two
  // reads are kept by the system for the next one.
  DWORD Arm() {
    ::ResetEvent(event_);
    reading_ = OVERLAPPED{};
    reading_.hEvent = event_;
    if (!::ReadDirectoryChangesW(folderHandle_, buffer_, sizeof buffer_, FALSE, kWatchedChanges,
                                 nullptr, &reading_, nullptr)) {
      return ::GetLastError();
    }
    pending_ = true;
    return ERROR_SUCCESS;
  }

  bool DeletePending() const {
    FILE_STANDARD_INFO info{};
    return ::GetFileInformationByHandleEx(folderHandle_, FileStandardInfo, &info, sizeof info) &&
           info.DeletePending;
  }

  // Lets the folder go: the read under way is cancelled and waited for, since it would
  // write into the buffer.
  void Close() {
    if (pending_) {
      DWORD length = 0;
      ::CancelIoEx(folderHandle_, &reading_);
      ::GetOverlappedResult(folderHandle_, &reading_, &length, TRUE);
      pending_ = false;
    }
    if (Open()) ::CloseHandle(folderHandle_);
    folderHandle_ = INVALID_HANDLE_VALUE;
    if (event_ != nullptr) ::ResetEvent(event_);
  }

  HANDLE event_;
  HANDLE folderHandle_ = INVALID_HANDLE_VALUE;
  std::string folder_;        // watched, or to be opened again by the next Watch
  bool unsupported_ = false;  // the system cannot watch folder_: silent
  bool pending_ = false;
  OVERLAPPED reading_{};
  alignas(DWORD) std::byte buffer_[32 * 1024];
};

}  // namespace

std::unique_ptr<FolderWatch> MakeFolderWatch() { return std::make_unique<DirectoryChangesWatch>(); }

bool WaitReadable(WaitHandle handle, std::chrono::milliseconds timeout) {
  const DWORD wait = timeout.count() <= 0 ? 0 : static_cast<DWORD>(timeout.count());
  if (handle == kNoWaitHandle) {
    ::Sleep(wait);
    return false;
  }
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(handle), wait) == WAIT_OBJECT_0;
}

}  // namespace tessaro
