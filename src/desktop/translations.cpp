#include "desktop/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace tessaro::desktop {

namespace {

QStringList TranslationFolders() {
  const QDir programFolder(QCoreApplication::applicationDirPath());
  return {programFolder.filePath(QStringLiteral("../share/tessaro/translations")),
          programFolder.filePath(QStringLiteral("translations")),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool Install(QCoreApplication& app, const QLocale& locale, const QString& name) {
  for (const QString& folder : TranslationFolders()) {
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
    delete translator;
  }
  return false;
}

}  // namespace

bool InstallTranslations(QCoreApplication& app, const QLocale& locale) {
  const bool own = Install(app, locale, QStringLiteral("tessaro"));
  // Qt's own only with Tessaro's: a window half in one language, half in another is worse.
  if (own) Install(app, locale, QStringLiteral("qtbase"));
  return own;
}

}  // namespace tessaro::desktop
