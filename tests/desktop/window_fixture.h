#pragma once

#include <QDir>
#include <memory>
#include <stdexcept>
#include <string>

#include "desktop/main_window.h"
#include "desktop_test_support.h"

namespace tessaro::testing {

// A main window started on its own home folder, with the process's current folder
// moved to a folder of its own while the window lives.
class StartedWindow {
 public:
  // `ini` is written as Tessaro.INI unless it is empty (no settings file).
  explicit StartedWindow(const std::string& ini = "") {
    previousCurrent_ = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(current_.path()));
    if (!ini.empty()) home_.Write("Tessaro.INI", ini);
    window_ = std::make_unique<desktop::MainWindow>(asker_, home_.PathWithSeparator());
    window_->StartUp(desktop::StartupOptions{.showAbout = false});
  }
  ~StartedWindow() {
    window_.reset();
    QDir::setCurrent(previousCurrent_);
  }

  desktop::MainWindow& window() { return *window_; }
  ScriptedOperator& asker() { return asker_; }
  const TempFolder& home() const { return home_; }
  const TempFolder& current() const { return current_; }
  QString stored(const std::string& sectionKey) const { return StoredValue(home_, sectionKey); }

  // A control by its name; throws when the window has none of that name and kind.
  template <typename Control>
  Control* find(const char* name) const {
    auto* control = window_->findChild<Control*>(name);
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return control;
  }

 private:
  TempFolder home_;
  TempFolder current_;
  QString previousCurrent_;
  ScriptedOperator asker_;
  std::unique_ptr<desktop::MainWindow> window_;
};

}  // namespace tessaro::testing
