#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tessaro::testing {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// A word as one word for the shell.
inline std::string ShellQuoted(const std::string& word) {
  std::string result = "'";
  for (const char c : word) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

// Runs the built tessaro-cli with `arguments`; its output is caught in `scratch`.
inline CliRun RunCli(const std::vector<std::string>& arguments, const TempFolder& scratch) {
  std::string command = ShellQuoted(TESSARO_CLI_PATH);
  for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
  command +=
      " >" + ShellQuoted(scratch.File("cli.out")) + " 2>" + ShellQuoted(scratch.File("cli.err"));
  const int status = std::system(command.c_str());
  CliRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = scratch.Read("cli.out");
  run.err = scratch.Read("cli.err");
  return run;
}

}  // namespace tessaro::testing
