// The folder dialog: what it returns and what it stores.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/settings_file.h"
#include "desktop/dir_dialog.h"
#include "window_fixture.h"

using tessaro::desktop::DirBrws;
using namespace tessaro::testing;

namespace {

// A settings home and a "drive" with folders; the process's current folder is its WORK.
struct DriveBench {
  TempFolder home;
  TempFolder drive;
  tessaro::SettingsFile settings{home.File("Tessaro.INI")};
  RecordingOperator asker;
  tessaro::desktop::DirDialogMemory memory;
  QString previousCurrent = QDir::currentPath();

  DriveBench() {
    drive.MakeFolder("DATA/SUB");
    drive.MakeFolder("DATA/OTHER");
    QDir::setCurrent(Q(drive.MakeFolder("WORK")));
  }
  ~DriveBench() { QDir::setCurrent(previousCurrent); }

  std::unique_ptr<DirBrws> Open(const std::string& chosen, std::vector<std::string> roots = {}) {
    if (roots.empty()) roots = {drive.path()};
    auto dialog = std::make_unique<DirBrws>(settings, memory, asker, chosen, roots);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) throw std::runtime_error("not shown");
    return dialog;
  }
  QString Stored(const std::string& key) const {
    return StoredLine(home, key).mid(int(key.size()) + 1);
  }
};

QString Shown(const DirBrws& dialog) { return dialog.findChild<QLabel*>("LabDir")->text(); }

void Press(const DirBrws& dialog, const char* button) {
  dialog.findChild<QPushButton*>(button)->click();
}

void OpenItem(QListWidget* list, const QString& name) {
  const QRect place = list->visualItemRect(list->findItems(name, Qt::MatchExactly).value(0));
  // A double click as the window system delivers it: a click, then the second press.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

}  // namespace

class DirDialogTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void openingFoldersInTheListMovesTheShownFolderAndOkReturnsIt() {
    DriveBench bench;
    auto dialog = bench.Open(bench.drive.File("DATA/SUB"));
    auto* dir1 = dialog->findChild<QListWidget*>("Dir1");
    OpenItem(dir1, "..");
    QCOMPARE(Listed(dir1), QStringList({"..", "OTHER", "SUB"}));
    QCOMPARE(Shown(*dialog), Q(bench.drive.File("DATA")));
    // Enter opens the current folder and keeps the dialog open.
    dir1->setFocus();
    dir1->setCurrentItem(dir1->findItems("..", Qt::MatchExactly).value(0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    QCOMPARE(Listed(dir1), QStringList({"DATA", "WORK"}));  // the drive: no way further up
    OpenItem(dir1, "DATA");
    Press(*dialog, "BtnOK");
    COMPARE_STD(dialog->chosenFolder(), bench.drive.File("DATA/"));
    QCOMPARE(bench.Stored("LastDir"), Q(bench.drive.File("DATA")));
    QVERIFY(dialog->isHidden());
  }
};

QTEST_MAIN(DirDialogTest)
#include "dir_dialog_test.moc"
