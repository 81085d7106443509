#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

class InterruptedTranslation : public ::testing::TestWithParam<bool> {
 protected:
  InterruptedTranslation() {
    folder.MakeFolder("programs");
    folder.Write("Template.RCM", testing::SmallTemplate());
    TranslationSettings& settings = session.Settings();
    settings.rcmFormat = GetParam();
    settings.appFolder = folder.PathWithSeparator();
    settings.destinationFolder = folder.File("programs");
    settings.facePriority = "4";
    settings.masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
  }

  testing::TempFolder folder;
  testing::RecordingOperator asker;
  Session session{asker};
};

TEST_P(InterruptedTranslation, LeavesTheOldOrTheNewProgramNeverAMixture) {
  // Ten holes on every face make a long program, one hole a short one.
  std::string many = "G71 X2400 Y1200 Z18\n";
  for (int hole = 1; hole <= 40; ++hole) {
    many += "G81 P" + std::to_string((hole - 1) / 10 + 1) + " X" + std::to_string(hole * 101) +
            " Y" + std::to_string(hole * 101) + " Z-5 E1 G54\n";
  }
  const std::string sources[] = {folder.Write("long/PART", many),
                                 folder.Write("short/PART", "G81 P4 X0 Y7 Z-5 E1 G54\n")};
  const std::string program = GetParam() ? "programs/PART4.RCM" : "programs/PART4.ACC";
  std::string programs[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(session.Process(sources[i]).ok());
    programs[i] = folder.Read(program);
  }
  ASSERT_NE(programs[0], programs[1]);

  for (int round = 0; round < 24; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const char byte = 1;
      if (write(ready[1], &byte, 1) != 1) _exit(1);
      // Replaces the program again and again until it is killed.
      for (int i = 0; i < 100000; ++i) session.Process(sources[i % 2]);
      _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    usleep(static_cast<useconds_t>(200 + (round * 379) % 4000));
    kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);

    const std::string left = folder.Read(program);
    EXPECT_TRUE(left == programs[0] || left == programs[1])
        << "round " << round << ": " << left.size() << " bytes";
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, InterruptedTranslation, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Rcm" : "Acc";
                         });

}  // namespace
}  // namespace tessaro
