#pragma once

#include <QDialog>
#include <string>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tessaro::desktop {

// A first start without Tessaro.INI: asks for the G-code folder, the program folder and
// the format, says where Template.RCM must go for the RCM format, and writes the settings
// file as `tessaro-cli init` does. Cancel writes nothing.
class SetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SetupDialog(std::string appFolder, QWidget* parent = nullptr);

 protected:
  void accept() override;

 private:
  QLineEdit* FolderRow(const QString& caption, const char* name, int row);
  void Update();

  std::string appFolder_;
  QLineEdit* source_ = nullptr;
  QLineEdit* destination_ = nullptr;
  QRadioButton* rcm_ = nullptr;
  QLabel* templateNote_ = nullptr;
  QLabel* problem_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace tessaro::desktop
