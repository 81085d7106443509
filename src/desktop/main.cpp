#include <CLI/CLI.hpp>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <iostream>
#include <string>
#include <variant>

#include "app/app_folder.h"
#include "desktop/activity_history.h"
#include "desktop/main_window.h"
#include "desktop/message_box_operator.h"
#include "desktop/setup_dialog.h"
#include "desktop/translations.h"
#include "outside/file_ops.h"
#include "tessaro_version.h"

namespace {

constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: tessaro [--home DIR]\n"
    "\n"
    "  --home DIR   the folder of Tessaro.INI and Template.RCM\n"
    "  --help       show this text\n"
    "  --version    show the version\n";

struct Arguments {
  std::string home;
  std::string screenshots;
};

// Our options begin with "--"; Qt's own (-platform, -style ...) are left to QApplication,
// which gets the whole command line.
std::variant<Arguments, int> Parse(int argc, char** argv) {
  Arguments parsed;
  CLI::App line("Tessaro", "tessaro");
  line.allow_extras();
  line.set_version_flag("--version", std::string("tessaro ") + TESSARO_VERSION);
  line.add_option("--home", parsed.home)->type_name("DIR");
  line.add_option("--screenshots", parsed.screenshots)->group("");  // scripts/screenshot only
  try {
    line.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << kUsage;
    return 0;
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << "\n";
    return 0;
  } catch (const CLI::ParseError& error) {
    std::cerr << "tessaro: " << error.what() << "\n" << kUsage;
    return kExitUsage;
  }
  for (const std::string& word : line.remaining()) {
    if (word.rfind("--", 0) == 0) {
      std::cerr << "tessaro: unknown argument " << word << "\n" << kUsage;
      return kExitUsage;
    }
  }
  return parsed;
}

// For scripts/screenshot, not for operators: saves the screen with the About box as
// about.png and presses its OK; then saves the main window as main.png (and the whole
// screen as screen.png), opens the activity history and saves it as history.png, and
// closes the window.
void ShootAboutBox(QApplication& app, const QString& folder) {
  QDir().mkpath(folder);
  auto* aboutWatch = new QTimer(&app);
  QObject::connect(aboutWatch, &QTimer::timeout, &app, [aboutWatch, folder] {
    QWidget* about = QApplication::activeModalWidget();
    if (about == nullptr || about->objectName() != "frmAbout") return;
    aboutWatch->stop();
    QTimer::singleShot(400, about, [about, folder] {
      QApplication::primaryScreen()->grabWindow(0).save(folder + "/about.png");
      if (auto* ok = about->findChild<QAbstractButton*>("cmdOK")) ok->click();
    });
  });
  aboutWatch->start(100);
}

void ShootMainWindow(tessaro::desktop::MainWindow& window, const QString& folder) {
  QTimer::singleShot(800, &window, [&window, folder] {
    QApplication::primaryScreen()->grabWindow(0).save(folder + "/screen.png");
    window.grab().save(folder + "/main.png");
    QWidget* history = window.ShowActivityHistory();
    QTimer::singleShot(400, &window, [&window, history, folder] {
      history->grab().save(folder + "/history.png");
      window.close();
    });
  });
}

}  // namespace

int main(int argc, char** argv) {
  // Help, version and usage errors need no display.
  const std::variant<Arguments, int> parsed = Parse(argc, argv);
  if (const int* exitCode = std::get_if<int>(&parsed)) return *exitCode;
  const Arguments& arguments = std::get<Arguments>(parsed);

  QApplication app(argc, argv);
  QApplication::setApplicationName("Tessaro");
  QApplication::setApplicationVersion(TESSARO_VERSION);
  tessaro::desktop::InstallTranslations(app);

  const std::string appFolder =
      tessaro::ResolveAppFolder(arguments.home, tessaro::ExecutablePath());
  // A first start asks for what the settings file needs; Cancel starts as before.
  if (tessaro::IsFirstStart(appFolder)) {
    tessaro::desktop::SetupDialog(appFolder).exec();
  }
  if (const auto hint = tessaro::MissingTemplateHint(appFolder))
    std::cerr << "tessaro: " << *hint << "\n";
  tessaro::desktop::MessageBoxOperator asker;
  tessaro::desktop::MainWindow window(asker, appFolder);
  asker.setParent(&window);
  QObject::connect(&window, &tessaro::desktop::MainWindow::shutDown, &app, &QApplication::quit);
  const QString screenshots = QString::fromStdString(arguments.screenshots);
  if (!screenshots.isEmpty()) ShootAboutBox(app, screenshots);
  window.StartUp();
  window.show();
  if (!screenshots.isEmpty()) ShootMainWindow(window, screenshots);
  return app.exec();
}
