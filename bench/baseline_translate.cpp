// The least a translation of a folder can cost: read every G-code file and write
// four template-sized programs for it, each replaced as safely as Tessaro does
// (a temporary file in the folder, written, flushed to the disk, renamed over the
// target, the folder flushed). No parsing, no template, no attributes.
//
// usage: baseline_translate SOURCE_DIR DEST_DIR TEMPLATE_FILE

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Replace(const std::string& folder, const std::string& name, const std::string& text) {
  const std::string target = folder + "/" + name;
  const std::string temporary = folder + "/.baseline-" + name;
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                       ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: baseline_translate SOURCE_DIR DEST_DIR TEMPLATE_FILE\n");
    return 2;
  }
  const std::string source = argv[1];
  const std::string destination = argv[2];
  const std::size_t programSize = ReadAll(argv[3]).size();

  DIR* dir = ::opendir(source.c_str());
  if (dir == nullptr) return 1;
  int failures = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.empty() || name[0] == '.' || name.find('.') != std::string::npos) continue;
    const std::string gcode = ReadAll(source + "/" + name);
    for (int face = 1; face <= 4; ++face) {
      // A program as long as the template, made from the G-code text.
      std::string program = gcode;
      program.resize(programSize, ' ');
      program[0] = static_cast<char>('0' + face);
      if (!Replace(destination, name + std::to_string(face) + ".RCM", program)) ++failures;
    }
  }
  ::closedir(dir);
  return failures == 0 ? 0 : 1;
}
