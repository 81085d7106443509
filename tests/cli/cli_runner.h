#pragma once

#include <gtest/gtest.h>
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
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, scratch.Read("cli.out"),
          scratch.Read("cli.err")};
}

// A test of tessaro-cli with its application folder ("home") in a folder of its own.
class CliTest : public ::testing::Test {
 protected:
  CliTest() { folder.MakeFolder("home"); }

  // tessaro-cli `command` --home <folder>/home `words`...
  CliRun Run(const std::string& command, std::vector<std::string> words = {}) const {
    words.insert(words.begin(), {command, "--home", folder.File("home")});
    return RunCli(words, folder);
  }

  TempFolder folder;
};

}  // namespace tessaro::testing
