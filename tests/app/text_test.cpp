#include "app/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tessaro {
namespace {

TEST(ReadNumber, ReadsTheLeadingNumberAndNeverAnInfiniteOne) {
  using Number = std::pair<std::string, double>;
  for (const auto& [text, value] :
       {Number{"120 Y40", 120}, Number{"50 E3", 50000}, Number{"", 0}, Number{"-5.5X", -5.5},
        Number{"1D2", 100}, Number{"X5", 0}, Number{" \t1\n2 ", 12}, Number{".5", 0.5},
        Number{"2d-1", 0.2}, Number{"1.2.3", 1.2}, Number{"12,5", 12}, Number{"--5", 0},
        // hexadecimal and octal integers
        Number{"&hff", 255}, Number{"&H 1 0", 16}, Number{"&O17", 15}, Number{"&o8", 0},
        Number{"&HFG", 15},
        // never infinite or not a number
        Number{"-1e400", 0}, Number{"inf", 0}, Number{"nan", 0}, Number{"1e-400", 0},
        Number{"&H" + std::string(300, 'F'), 0}, Number{std::string(400, '9'), 0},
        Number{"1" + std::string(300, '0'), 1e300}}) {
    EXPECT_EQ(ReadNumber(text), value) << "text: " << text;
  }
}

TEST(PathParts, SplitAtTheLastSeparatorAndJoinWithOne) {
  using Split = std::tuple<std::string, std::string, std::string>;  // path, folder, name
  std::vector<Split> splits = {{"/progs/PART1.RCM", "/progs/", "PART1.RCM"},
                               {"PART1.RCM", "", "PART1.RCM"},
                               {"/a/b/c", "/a/b/", "c"},
                               {"/", "/", ""}};
#ifdef _WIN32
  // Windows takes both separators; a drive or a share is never cut.
  splits.insert(splits.end(), {{"C:\\PROGS\\PART1.RCM", "C:\\PROGS\\", "PART1.RCM"},
                               {"D:\\out/../P1.RCM", "D:\\out/../", "P1.RCM"},
                               {"C:PART", "C:", "PART"},
                               {"\\\\srv\\cnc", "\\\\srv\\cnc", ""},
                               {"//srv/cnc/P1", "//srv/cnc/", "P1"}});
  EXPECT_EQ(JoinPath("C:\\", "PART"), "C:\\PART");
  EXPECT_EQ(JoinPath("D:/cnc", "PART"), "D:/cnc\\PART");
#else
  // A backslash is a character of a name here.
  splits.push_back({"C:\\PROGS\\PART1.RCM", "", "C:\\PROGS\\PART1.RCM"});
  EXPECT_EQ(JoinPath("/home/shop", "PART"), "/home/shop/PART");
#endif
  for (const auto& [path, folder, name] : splits) {
    EXPECT_EQ(FolderPart(path), folder) << path;
    EXPECT_EQ(FileNamePart(path), name) << path;
  }
  EXPECT_EQ(JoinPath("/", "PART"), "/PART");
}

TEST(NumberFormats, WriteNoSignedZeroAndNothingInfinite) {
  using Format = std::pair<std::string, std::string>;  // written, expected
  for (const auto& [written, expected] :
       {Format{FormatFixed6(12.5), "12.500000"}, Format{FormatFixed6(-0.0000001), "0.000000"},
        Format{FormatFixed6(INFINITY), "0.000000"}, Format{FormatUpTo4Decimals(12), "12."},
        Format{FormatUpTo4Decimals(-0.00001), "0."}, Format{FormatUpTo4Decimals(2.0 / 3), "0.6667"},
        Format{FormatUpTo4Decimals(9.99996), "10."}, Format{FormatUpTo4Decimals(NAN), "0."},
        Format{FormatGeneral(0.999999984981507), "0.999999984981507"},
        Format{FormatGeneral(-0.0), "0"}, Format{FormatGeneral(0.1 + 0.2), "0.3"},
        Format{FormatGeneral(1e20), "100000000000000000000"}, Format{FormatGeneral(-INFINITY), "0"},
        Format{FormatShortest(1234.5678), "1234.5678"},
        Format{FormatShortest(1e21), "1000000000000000000000"}, Format{FormatShortest(-0.0), "0"},
        Format{FormatShortest(123e-20), "0.00000000000000000123"},
        Format{FormatShortest(NAN), "0"}}) {
    EXPECT_EQ(written, expected);
  }
}

TEST(FormatShortest, ReadsBackAsTheSameNumber) {
  for (double value : {1.0 / 3, 1e-300, 1.7976931348623157e308, 5e-324, -98765.4321, 1.0 / 25.4}) {
    EXPECT_EQ(ReadNumber(FormatShortest(value)), value) << FormatShortest(value);
  }
}

}  // namespace
}  // namespace tessaro
