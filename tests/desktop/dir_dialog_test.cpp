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
  // Folders below are on the drive: "/DATA" is <drive>/DATA.
  void okReturnsTheShownFolderWithOneTrailingSeparator_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("lastDir");
    QTest::addColumn<QString>("shownAndChosen");
    QTest::newRow("a folder") << "/DATA" << QString() << "/DATA /DATA/";
    QTest::newRow("with its separator") << "/DATA/" << QString() << "/DATA/ /DATA/";
    QTest::newRow("none: the last shown") << "" << QString("/DATA/SUB") << "/DATA/SUB /DATA/SUB/";
    QTest::newRow("none ever: the current folder") << "" << QString() << "/WORK /WORK/";
    QTest::newRow("gone: the current folder") << "/GONE" << QString() << "/WORK /WORK/";
  }
  void okReturnsTheShownFolderWithOneTrailingSeparator() {
    QFETCH(QString, given);
    QFETCH(QString, lastDir);
    QFETCH(QString, shownAndChosen);
    DriveBench bench;
    const QString drive = Q(bench.drive.path());
    if (!lastDir.isEmpty())
      bench.settings.WriteSetting("DirDialogBox", "LastDir", (drive + lastDir).toStdString());
    auto dialog = bench.Open(given.isEmpty() ? "" : (drive + given).toStdString());
    const QString shown = Shown(*dialog);
    Press(*dialog, "BtnOK");
    QCOMPARE(shown + " " + Q(dialog->chosenFolder()),
             drive + shownAndChosen.replace(" ", " " + drive));
    QCOMPARE(bench.Stored("LastDir"), shown);
    QVERIFY(dialog->isHidden());
  }

  void openingFoldersInTheListMovesTheShownFolder() {
    DriveBench bench;
    const QString drive = Q(bench.drive.path());
    auto dialog = bench.Open(bench.drive.path() + "/DATA/SUB");
    QCOMPARE(dialog->windowTitle(), QString("Directory Selection"));
    auto* dir1 = dialog->findChild<QListWidget*>("Dir1");
    OpenItem(dir1, "..");
    QCOMPARE(Listed(dir1), QStringList({"..", "OTHER", "SUB"}));
    // Enter opens the current folder and keeps the dialog open.
    dir1->setFocus();
    dir1->setCurrentItem(dir1->findItems("..", Qt::MatchExactly).value(0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    QCOMPARE(Listed(dir1), QStringList({"DATA", "WORK"}));  // the drive: no way further up
    OpenItem(dir1, "DATA");
    Press(*dialog, "BtnOK");
    QCOMPARE(Q(dialog->chosenFolder()), drive + "/DATA/");
  }

  void cancelStoresTheFolderAndTheCloseBoxOnlyThePosition() {
    DriveBench bench;
    auto cancelled = bench.Open(bench.drive.path() + "/DATA");
    cancelled->move(20, 10);
    Press(*cancelled, "BtnCan");
    QCOMPARE(Q(cancelled->chosenFolder()), QString(""));
    QCOMPARE(bench.Stored("LastDir"), Q(bench.drive.path() + "/DATA"));
    QCOMPARE(bench.Stored("Top") + " " + bench.Stored("Left"), QString("150 300"));

    auto closed = bench.Open(bench.drive.path() + "/WORK");
    closed->move(40, 30);
    QVERIFY(closed->close());
    QCOMPARE(Q(closed->chosenFolder()), QString(""));
    QCOMPARE(bench.Stored("LastDir"), Q(bench.drive.path() + "/DATA"));
    QCOMPARE(bench.Stored("Top") + " " + bench.Stored("Left"), QString("450 600"));
  }

  void anUnreadableDriveIsReportedAndTheLastGoodOneComesBack() {
    DriveBench bench;
    TempFolder other;
    const std::string missing = other.path() + "/NO-MEDIUM";
    auto dialog =
        bench.Open(bench.drive.path() + "/DATA/SUB", {missing, bench.drive.path(), other.path()});
    auto* drive1 = dialog->findChild<QComboBox*>("Drive1");
    drive1->setCurrentIndex(2);
    QCOMPARE(Shown(*dialog), Q(other.path()));
    drive1->setCurrentIndex(0);
    QCOMPARE(bench.asker.told.size(), size_t{1});
    COMPARE_STD(bench.asker.told[0], "Alert|Drive " + missing + " is unavailable.");
    QCOMPARE(drive1->currentIndex(), 2);
    QCOMPARE(Shown(*dialog), Q(other.path()));
    drive1->setCurrentIndex(1);  // a drive reopens the folder last shown on it
    QCOMPARE(Shown(*dialog), Q(bench.drive.path() + "/DATA/SUB"));
  }
};

QTEST_MAIN(DirDialogTest)
#include "dir_dialog_test.moc"
