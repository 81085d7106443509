#include "desktop/core_text.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <optional>
#include <vector>

#include "app/text.h"
#include "desktop/qt_text.h"

namespace tessaro::desktop {

namespace {

// The sentences of the core that reach the window, each with its parts as %1, %2...
// A more particular sentence comes before a more general one that would match it too.
const char* const kSentences[] = {
    QT_TRANSLATE_NOOP("CoreText", "Alert!"),
    QT_TRANSLATE_NOOP("CoreText", "Alert"),
    QT_TRANSLATE_NOOP("CoreText", "Location"),
    QT_TRANSLATE_NOOP("CoreText", "Drill"),
    QT_TRANSLATE_NOOP("CoreText", "Dowel"),
    // What the activity log says was done.
    QT_TRANSLATE_NOOP("CoreText", "translated"),
    QT_TRANSLATE_NOOP("CoreText", "refused"),
    QT_TRANSLATE_NOOP("CoreText", "deleted"),
    QT_TRANSLATE_NOOP("CoreText", "failed"),
    QT_TRANSLATE_NOOP("CoreText", "empty"),
    QT_TRANSLATE_NOOP("CoreText", "kept"),
    QT_TRANSLATE_NOOP("CoreText", "setting"),
    // Questions.
    QT_TRANSLATE_NOOP("CoreText",
                      "         Source file %1\r    Is not of the correct file type.\r\r"
                      "      Do you wish to delete it?"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Deleting all %1 files will allow all files in the source directory\r"
                      "     to be reprocessed if Automatic Translation is turned on.\r\r"
                      "                Do You Wish To Continue With Deletion?"),
    // Translations, ticks and deletions.
    QT_TRANSLATE_NOOP("CoreText",
                      "Cannot translate %1: face %2 gets no usable program name (\"%3\")"),
    QT_TRANSLATE_NOOP("CoreText", "No source or no program folder is set"),
    QT_TRANSLATE_NOOP("CoreText", "orphan: no G-code file in the source folder gives its name"),
    QT_TRANSLATE_NOOP("CoreText",
                      "not translated: %1 gives the same program %2 and is translated instead"),
    QT_TRANSLATE_NOOP("CoreText",
                      "no program deleted: the source folder %1 holds no G-code file (Delete All "
                      "clears the program folder)"),
    QT_TRANSLATE_NOOP("CoreText",
                      "no program deleted: the source folder %1 lies on another file system than "
                      "when it last held G-code files (a share unmounted from it?)"),
    QT_TRANSLATE_NOOP("CoreText", "delete all %1 files"),
    QT_TRANSLATE_NOOP("CoreText", "%1 programs in %2: %3"),
    QT_TRANSLATE_NOOP("CoreText",
                      "not G-code of the accepted kind (the first line is no G70, G71, G81 or "
                      "G150 line)"),
    QT_TRANSLATE_NOOP("CoreText",
                      "the file holds nothing but blanks: not translated, its programs are kept"),
    QT_TRANSLATE_NOOP("CoreText", "refused G-code file, deleted on the operator's Yes"),
    QT_TRANSLATE_NOOP("CoreText", "temporary file of a translation that was stopped"),
    // Files and folders.
    QT_TRANSLATE_NOOP("CoreText", "Cannot read the folder %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "Cannot read %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "Cannot write %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "Cannot delete %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "Cannot change %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "Cannot rename %1 to %2: %3"),
    QT_TRANSLATE_NOOP("CoreText", "Cannot watch %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "cannot lock %1: %2"),
    QT_TRANSLATE_NOOP("CoreText", "the file is larger than %1 MiB"),
    QT_TRANSLATE_NOOP("CoreText", "the file is larger than %1 bytes"),
    QT_TRANSLATE_NOOP("CoreText", "the file is open in another program"),
    QT_TRANSLATE_NOOP("CoreText", "no inotify instance"),
    QT_TRANSLATE_NOOP("CoreText", "process %1 on %2"),
    QT_TRANSLATE_NOOP("CoreText", "process %1"),
    QT_TRANSLATE_NOOP("CoreText", "another process"),
    // Settings and the template.
    QT_TRANSLATE_NOOP("CoreText", "%1 line %2: %3=%4 %5; %6 is used instead"),
    QT_TRANSLATE_NOOP("CoreText", "is not one to four different digits 1 to 4"),
    QT_TRANSLATE_NOOP("CoreText", "is not a number of seconds from 0.001 to 86400"),
    QT_TRANSLATE_NOOP("CoreText", "is neither YES nor NO"),
    QT_TRANSLATE_NOOP("CoreText", "names no folder that exists"),
    QT_TRANSLATE_NOOP("CoreText", "the name as it stands"),
    QT_TRANSLATE_NOOP("CoreText", "is not 0, 1 or 2"),
    QT_TRANSLATE_NOOP("CoreText", "is not one digit 0 to 9"),
    QT_TRANSLATE_NOOP("CoreText", "is longer than 8 characters"),
    QT_TRANSLATE_NOOP("CoreText", "holds characters no file name can hold"),
    QT_TRANSLATE_NOOP("CoreText", "no template: %1"),
    QT_TRANSLATE_NOOP("CoreText",
                      "the RCM format makes every program from %1; copy your boring machine's "
                      "template program there"),
};

struct Sentence {
  QRegularExpression pattern;
  const char* format;
};

// "Cannot read %1: %2" -> ^Cannot\ read\ (.+?)\:\ (.+?)$
QRegularExpression PatternOf(const QString& format) {
  static const QRegularExpression partMark(QStringLiteral("%[1-9]"));
  QString pattern;
  qsizetype from = 0;
  for (const QRegularExpressionMatch& mark : partMark.globalMatch(format)) {
    pattern += QRegularExpression::escape(format.mid(from, mark.capturedStart() - from));
    pattern += QStringLiteral("(.+?)");
    from = mark.capturedEnd();
  }
  pattern += QRegularExpression::escape(format.mid(from));
  return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                            QRegularExpression::DotMatchesEverythingOption);
}

const std::vector<Sentence>& Sentences() {
  static const std::vector<Sentence> sentences = [] {
    std::vector<Sentence> all;
    for (const char* format : kSentences) all.push_back({PatternOf(ToQt(format)), format});
    return all;
  }();
  return sentences;
}

// Parts are translated one level deep: a reason inside a sentence, not a file name that
// happens to read like one deeper down.
constexpr int kPartDepth = 1;

std::optional<QString> Translated(const QString& text, int depth) {
  for (const Sentence& sentence : Sentences()) {
    const QRegularExpressionMatch match = sentence.pattern.match(text);
    if (!match.hasMatch()) continue;
    std::vector<std::string> parts;
    for (int i = 1; i <= match.lastCapturedIndex(); ++i) {
      const QString part = match.captured(i);
      parts.push_back(
          ToStd(depth < kPartDepth ? Translated(part, depth + 1).value_or(part) : part));
    }
    return ToQt(FillFormat(ToStd(QCoreApplication::translate("CoreText", sentence.format)), parts));
  }
  return std::nullopt;
}

}  // namespace

QString CoreText(std::string_view text) {
  const QString whole = ToQt(text);
  if (std::optional<QString> translated = Translated(whole, 0)) return *translated;
  const QChar lineEnd = whole.contains(QLatin1Char('\r')) ? QLatin1Char('\r') : QLatin1Char('\n');
  if (!whole.contains(lineEnd)) return whole;
  QStringList lines = whole.split(lineEnd);
  for (QString& line : lines) line = Translated(line, 0).value_or(line);
  return lines.join(lineEnd);
}

}  // namespace tessaro::desktop
