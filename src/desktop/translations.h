#pragma once

#include <QLocale>

class QCoreApplication;

namespace tessaro::desktop {

// Loads Tessaro's own texts and Qt's (the buttons of message boxes and file dialogs) in
// the first of the locale's languages that Tessaro has, and installs them in `app`.
// English, the language the texts are written in, needs nothing. Tessaro's translations
// lie in share/tessaro/translations beside the program's bin folder, or in translations
// beside the program itself (Windows). True when Tessaro's own were found.
bool InstallTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

}  // namespace tessaro::desktop
