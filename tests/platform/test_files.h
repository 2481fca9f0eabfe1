// Real files on disk for tests: a temporary folder, whole-file reads and writes, and a way to
// attempt a write as an ordinary user.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Root writes into a folder whatever its mode says, so when the tests run as root `attempt`
// runs in a child process that has become the user "nobody". Returns what `attempt`
// returned, or nothing when no unprivileged user could be had.
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& attempt) {
  if (::geteuid() != 0) return attempt();
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    ::close(fds[0]);
    std::string out = "-";
    if (::setgid(65534) == 0 && ::setuid(65534) == 0 && ::geteuid() != 0) out = "+" + attempt();
    (void)!::write(fds[1], out.data(), out.size());
    ::close(fds[1]);
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string got;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0) got.append(buf, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (got.empty() || got[0] != '+') return std::nullopt;
  return got.substr(1);
}

// `attempt` run as an ordinary user (see RunUnprivileged) while `folder` may not be written;
// `file` holds `before` then, readable by anyone.
inline std::optional<std::string> AttemptInReadOnlyFolder(const TTempFolder& folder, const std::string& file,
                                                          const std::string& before,
                                                          const std::function<std::string()>& attempt) {
  WriteBytes(file, before);
  ::chmod(file.c_str(), 0644);
  ::chmod(folder.Path().c_str(), 0555);
  const std::optional<std::string> result = RunUnprivileged(attempt);
  ::chmod(folder.Path().c_str(), 0755);
  return result;
}
