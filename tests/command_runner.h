// Runs a shell command for the command-line tests: its exit status and standard output.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <initializer_list>
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

// A command line that is refused: its arguments and a part of the message that says why.
struct TUsageCase {
  const char* Args;
  const char* Text;
};

// `program` (quoted for the shell) with each case's arguments ends with the usage status 2
// and a message holding the case's text.
inline void ExpectUsageErrors(const std::string& program, std::initializer_list<TUsageCase> cases) {
  for (const TUsageCase& c : cases) {
    const TCommandResult r = RunShellCommand(program + " " + c.Args + " 2>&1");
    EXPECT_EQ(r.Status, 2) << c.Args;
    EXPECT_NE(r.Output.find(c.Text), std::string::npos) << c.Args << ": " << r.Output;
  }
}
