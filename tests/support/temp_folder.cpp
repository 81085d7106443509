#include "support/temp_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace tessaro::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "tessaro-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Give back write permission so that read-only files and folders can go.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

std::string TempFolder::Write(std::string_view name, std::string_view contents) const {
  const std::string file = File(name);
  fs::create_directories(fs::path(file).parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + file);
  return file;
}

std::string TempFolder::Read(std::string_view name) const {
  std::ostringstream text;
  text << std::ifstream(File(name), std::ios::binary).rdbuf();
  return text.str();
}

std::string TempFolder::MakeFolder(std::string_view name) const {
  fs::create_directories(File(name));
  return File(name);
}

std::vector<std::string> TempFolder::List(std::string_view name) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(File(name))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void TempFolder::SetModifiedSeconds(std::string_view name, long long seconds,
                                    long nanoseconds) const {
  const timespec time{static_cast<time_t>(seconds), nanoseconds};
  const timespec times[2] = {time, time};
  if (utimensat(AT_FDCWD, File(name).c_str(), times, 0) != 0) {
    throw std::runtime_error("cannot set the time of " + File(name));
  }
}

}  // namespace tessaro::testing
