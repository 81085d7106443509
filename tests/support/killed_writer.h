#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tessaro::testing {

// Forks a child that calls write(0), write(1), ... until it is killed. Reads with
// `whole` while it runs (5 + 3 * round times, so the kill lands at varied moments)
// and once after the kill, for `rounds` rounds; returns how many reads were not whole
// (-1 when no child could be started).
inline int TornReadsOfAKilledWriter(int rounds, const std::function<void(int)>& write,
                                    const std::function<bool()>& whole) {
  int torn = 0;
  for (int round = 0; round < rounds; ++round) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
      for (int i = 0;; ++i) write(i);
    }
    for (int read = 0; read < 5 + round * 3; ++read) torn += whole() ? 0 : 1;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    torn += whole() ? 0 : 1;
  }
  return torn;
}

}  // namespace tessaro::testing
