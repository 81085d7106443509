#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tessaro::desktop {

// The core speaks UTF-8 std::string, the widgets QString.
inline QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToStd(const QString& text) { return text.toStdString(); }

// Message texts break their lines with "\r"; a label needs "\n".
inline QString MessageText(QString text) {
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Window positions are stored in twips: 15 per device-independent pixel.
inline constexpr int kTwipsPerPixel = 15;

}  // namespace tessaro::desktop
