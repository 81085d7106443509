#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "program/program_test_support.h"
#include "program/session.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::NoSayingOperator;
using testing::SmallTemplate;
using testing::TempFolder;

// Ten holes on every face, so that the program is long.
std::string ManyHoles() {
  std::string text = "G71 X2400 Y1200 Z18\n";
  for (int face = 1; face <= 4; ++face) {
    for (int hole = 1; hole <= 10; ++hole) {
      text += "G81 P" + std::to_string(face) + " X" + std::to_string(hole * 101) + " Y" +
              std::to_string(hole * 101) + " Z-5 E1 G54\n";
    }
  }
  return text;
}

constexpr const char* kOneHole = "G71 X2400 Y1200 Z18\nG81 P4 X0 Y7 Z-5 E1 G54\n";

class InterruptedTranslation : public ::testing::TestWithParam<bool> {
 protected:
  InterruptedTranslation() {
    folder.MakeFolder("programs");
    folder.Write("Template.RCM", SmallTemplate());
    longSource = folder.Write("long/PART", ManyHoles());
    shortSource = folder.Write("short/PART", kOneHole);
    TranslationSettings& settings = session.Settings();
    settings.rcmFormat = GetParam();
    settings.appFolder = folder.PathWithSeparator();
    settings.destinationFolder = folder.File("programs");
    settings.facePriority = "4";
    // Each face has a program of its own, written once per translation.
    settings.masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
    program = GetParam() ? "programs/PART4.RCM" : "programs/PART4.ACC";
  }

  std::string Translated(const std::string& source) {
    EXPECT_TRUE(session.Process(source).ok());
    return folder.Read(program);
  }

  TempFolder folder;
  NoSayingOperator asker;
  Session session{asker};
  std::string longSource;
  std::string shortSource;
  std::string program;
};

TEST_P(InterruptedTranslation, LeavesTheOldOrTheNewProgramNeverAMixture) {
  const std::string longProgram = Translated(longSource);
  const std::string shortProgram = Translated(shortSource);
  ASSERT_NE(longProgram, shortProgram);
  ASSERT_FALSE(shortProgram.empty());

  for (int round = 0; round < 24; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      const char byte = 1;
      if (write(ready[1], &byte, 1) != 1) _exit(1);
      // Replaces the program again and again until it is killed.
      for (int i = 0; i < 100000; ++i) session.Process(i % 2 == 0 ? longSource : shortSource);
      _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    usleep(static_cast<useconds_t>(200 + (round * 379) % 4000));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    const std::string left = folder.Read(program);
    EXPECT_TRUE(left == longProgram || left == shortProgram)
        << "round " << round << ": " << left.size() << " bytes";
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, InterruptedTranslation, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Rcm" : "Acc";
                         });

}  // namespace
}  // namespace tessaro
