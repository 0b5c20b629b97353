#include "platform/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace vel {

namespace {

std::string Folder(const std::string& p) {
  size_t slash = p.rfind('/');
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

std::string Name(const std::string& p) {
  size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

TSaveTarget ResolveSaveTarget(const std::string& Path) {
  TSaveTarget t{Path, false};
  char real[PATH_MAX];
  struct stat st;
  if (::lstat(Path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(Path.c_str(), real)) t.Path = real;
  if (::stat(t.Path.c_str(), &st) == 0) t.ReadOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  return t;
}

std::string CreateScratchBeside(const std::string& Target) {
  const std::string prefix = Name(Target) + kScratchInfix;
  if (DIR* d = ::opendir(Folder(Target).c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n.compare(0, prefix.size(), prefix) == 0 && n.size() > prefix.size() + 4 &&
          n.compare(n.size() - 4, 4, ".tmp") == 0)
        std::remove((Folder(Target) + "/" + n).c_str());
    }
    ::closedir(d);
  }
  for (unsigned n = 0; n < 1000; ++n) {
    std::string name = Target + kScratchInfix + std::to_string(::getpid()) + "-" + std::to_string(n) + ".tmp";
    int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0666);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

bool FlushToDisk(std::FILE* File) { return std::fflush(File) == 0 && ::fdatasync(::fileno(File)) == 0; }

bool ReplaceFileWith(const std::string& Source, const std::string& Target) {
  struct stat st;
  bool had = ::stat(Target.c_str(), &st) == 0;
  int fd = ::open(Source.c_str(), O_RDONLY);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  if (had) ::fchmod(fd, st.st_mode & 07777);
  ::close(fd);
  return synced && std::rename(Source.c_str(), Target.c_str()) == 0;
}

}  // namespace vel
