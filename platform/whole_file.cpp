#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

namespace {

enum class TBeyondLimit { Fail, Stop };

// Reads `path` into `out` up to `limit` bytes; beyond it fails or stops as `beyond` says.
TFileResult ReadUpTo(const std::string& path, uintmax_t limit, TBeyondLimit beyond, std::string& out) {
  out.clear();
  const std::string fail = "cannot read " + path + ": ";
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (st.type() == fs::file_type::not_found) return {false, fail + "no such file"};
  if (ec) return {false, fail + ec.message()};
  if (st.type() == fs::file_type::directory) return {false, fail + "it is a folder"};
  if (st.type() != fs::file_type::regular) return {false, fail + "not a regular file"};

  // Non-blocking, and what was opened is checked again: a FIFO swapped in must not hold the read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {false, fail + ErrnoText(errno)};
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(fd);
    return {false, fail + "not a regular file"};
  }
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      out.clear();
      return {false, fail + ErrnoText(err)};
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
    if (out.size() > limit && beyond == TBeyondLimit::Stop) {
      out.resize(limit);
      break;
    }
    if (out.size() > limit) {
      ::close(fd);
      out.clear();
      return {false, fail + "larger than " + std::to_string(limit >> 20) + " MB"};
    }
  }
  ::close(fd);
  return {};
}

}  // namespace

TFileResult ReadWholeFile(const std::string& path, uintmax_t maxSize, std::string& out) {
  return ReadUpTo(path, maxSize, TBeyondLimit::Fail, out);
}

TFileResult ReadFileHead(const std::string& path, uintmax_t bytes, std::string& out) {
  return ReadUpTo(path, bytes, TBeyondLimit::Stop, out);
}

TFileResult ReplaceWholeFile(const std::string& path, std::string_view bytes) {
  fs::path target(path);
  std::error_code ec;
  // Replace what a link points to, not the link.
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string fail = "cannot write " + path + ": ";
  if (fs::is_directory(target, ec)) return {false, fail + "it is a folder"};

  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  int openErr = 0;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = (folder /
            ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
               .string();
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    openErr = errno;
    if (fd < 0 && openErr != EEXIST) break;
  }
  if (fd < 0) return {false, fail + "cannot create a file in " + folder.string() + ": " + ErrnoText(openErr)};

  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) (void)::fchmod(fd, old.st_mode & 07777);

  int err = 0;
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    return {false, fail + ErrnoText(err)};
  }
  return {};
}
