#pragma once

#include <QtTest>
#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/operator.h"
#include "support/temp_folder.h"

namespace tessaro::testing {

// Answers the questions from a script and keeps what was asked and told.
class ScriptedOperator : public Operator {
 public:
  struct Message {
    std::string title;
    std::string text;
  };

  std::deque<bool> answers;  // Yes = true; a question beyond the script is answered No
  std::vector<Message> questions;
  std::vector<Message> told;

  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back({title, text});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Tell(const std::string& title, const std::string& text) override {
    told.push_back({title, text});
  }
};

// The settings file's lines as written: "section/key" (as spelled in the file) to the
// text after "=", blanks kept.
inline std::map<std::string, std::string> StoredLines(const std::string& iniText) {
  std::map<std::string, std::string> values;
  std::istringstream lines(iniText);
  std::string line;
  std::string section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    values[section + "/" + line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

inline constexpr const char* kNotStored = "<not stored>";

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// One stored value exactly as written ("Settings/AutoScan"), kNotStored when the key is
// not in the file.
inline QString StoredValue(const TempFolder& home, const std::string& sectionKey) {
  const std::map<std::string, std::string> values = StoredLines(home.Read("Tessaro.INI"));
  const auto found = values.find(sectionKey);
  if (found == values.end()) return kNotStored;
  return QString::fromStdString(found->second);
}

}  // namespace tessaro::testing

// QCOMPARE of std::string values with readable failure output.
#define COMPARE_STD(actual, expected) \
  QCOMPARE(QString::fromStdString(actual), QString::fromStdString(expected))
