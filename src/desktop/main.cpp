#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <iostream>
#include <optional>
#include <string>

#include "app/app_folder.h"
#include "desktop/main_window.h"
#include "desktop/message_box_operator.h"
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
  std::optional<std::string> home;
  std::optional<std::string> screenshots;
  std::string error;
};

// Our options begin with "--"; Qt's own (-platform, -style ...) are left to QApplication.
Arguments Parse(int argc, char** argv) {
  Arguments parsed;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.rfind("--", 0) != 0) continue;
    if (word == "--home" || word == "--screenshots") {
      if (i + 1 >= argc) {
        parsed.error = word + " needs a value";
        return parsed;
      }
      (word == "--home" ? parsed.home : parsed.screenshots) = argv[++i];
    } else if (word.rfind("--home=", 0) == 0) {
      parsed.home = word.substr(7);
    } else {
      parsed.error = "unknown argument " + word;
      return parsed;
    }
  }
  return parsed;
}

bool Wanted(int argc, char** argv, const std::string& option) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == option) return true;
  }
  return false;
}

// For scripts/screenshot, not for operators: saves the screen with the About box as
// about.png and presses its OK; then saves the main window as main.png (and the whole
// screen as screen.png) and closes it.
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
    window.close();
  });
}

}  // namespace

int main(int argc, char** argv) {
  // Help and version need no display.
  if (Wanted(argc, argv, "--help") || Wanted(argc, argv, "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (Wanted(argc, argv, "--version")) {
    std::cout << "tessaro " << TESSARO_VERSION << "\n";
    return 0;
  }

  const Arguments arguments = Parse(argc, argv);
  if (!arguments.error.empty()) {
    std::cerr << "tessaro: " << arguments.error << "\n" << kUsage;
    return kExitUsage;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("Tessaro");
  QApplication::setApplicationVersion(TESSARO_VERSION);

  const std::string appFolder =
      tessaro::ResolveAppFolder(arguments.home.value_or(""), tessaro::ExecutablePath());
  if (const auto hint = tessaro::MissingTemplateHint(appFolder))
    std::cerr << "tessaro: " << *hint << "\n";
  tessaro::desktop::MessageBoxOperator asker;
  tessaro::desktop::MainWindow window(asker, appFolder);
  asker.setParent(&window);
  QObject::connect(&window, &tessaro::desktop::MainWindow::shutDown, &app, &QApplication::quit);
  const QString screenshots = QString::fromStdString(arguments.screenshots.value_or(""));
  if (!screenshots.isEmpty()) ShootAboutBox(app, screenshots);
  window.StartUp();
  window.show();
  if (!screenshots.isEmpty()) ShootMainWindow(window, screenshots);
  return app.exec();
}
