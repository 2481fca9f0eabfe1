// Runs a shell command for the command-line tests: its exit status and standard output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct TCommandResult {
  int Status = -1;  // exit status, -1 when it did not exit normally
  std::string Output;
};

inline TCommandResult RunShellCommand(const std::string& command) {
  TCommandResult r;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return r;
  char buf[4096];
  size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.Output.append(buf, n);
  const int status = ::pclose(pipe);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}
