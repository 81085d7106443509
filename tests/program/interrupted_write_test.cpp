#include <gtest/gtest.h>

#include "program/session.h"
#include "support/killed_writer.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

TEST(InterruptedTranslation, LeavesTheOldOrTheNewProgramNeverAMixture) {
  testing::TempFolder folder;
  testing::RecordingOperator asker;
  Session session{asker};
  TranslationSettings& settings = session.Settings();
  settings.destinationFolder = folder.MakeFolder("programs");
  settings.facePriority = "4";
  settings.masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};

  // Ten holes make a long program, one hole a short one.
  std::string many = "G71 X2400 Y1200 Z18\n";
  for (int hole = 1; hole <= 10; ++hole) {
    many += "G81 P4 X0 Y" + std::to_string(hole * 101) + " Z-5 E1 G54\n";
  }
  const std::string sources[] = {folder.Write("long/PART", many),
                                 folder.Write("short/PART", "G81 P4 X0 Y7 Z-5 E1 G54\n")};
  const std::string program = "programs/PART4.ACC";
  std::string programs[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(session.Process(sources[i]).ok());
    programs[i] = folder.Read(program);
  }
  ASSERT_NE(programs[0], programs[1]);

  const auto write = [&](int i) { (void)session.Process(sources[i % 2]); };
  const auto whole = [&] {
    const std::string left = folder.Read(program);
    return left == programs[0] || left == programs[1];
  };
  EXPECT_EQ(testing::TornReadsOfAKilledWriter(12, write, whole), 0);
}

}  // namespace
}  // namespace tessaro
