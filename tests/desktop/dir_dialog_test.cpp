// The folder dialog: what it returns and what it stores.
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "app/settings_file.h"
#include "desktop/dir_dialog.h"
#include "desktop_test_support.h"

using tessaro::desktop::DirBrws;
using tessaro::testing::Q;
using tessaro::testing::TempFolder;

namespace {

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

void OpenItem(QListWidget* list, const QString& name) {
  const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
  if (found.size() != 1) throw std::runtime_error("no single item " + name.toStdString());
  const QRect place = list->visualItemRect(found[0]);
  // A double click as the window system delivers it: a click, then the second press.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

}  // namespace

class DirDialogTest : public QObject {
  Q_OBJECT

 private:
  // A settings home, a "drive" with folders, and the process's current folder on it.
  std::unique_ptr<TempFolder> home_;
  std::unique_ptr<TempFolder> drive_;
  std::unique_ptr<tessaro::SettingsFile> settings_;
  tessaro::testing::ScriptedOperator asker_;
  tessaro::desktop::DirDialogMemory memory_;
  QString previousCurrent_;

  std::string Drive() const { return drive_->path(); }
  QString Stored(const std::string& key) const {
    return tessaro::testing::StoredValue(*home_, "DirDialogBox/" + key);
  }
  std::unique_ptr<DirBrws> Open(const std::string& chosen, std::vector<std::string> roots = {}) {
    if (roots.empty()) roots = {Drive()};
    auto dialog = std::make_unique<DirBrws>(*settings_, memory_, asker_, chosen, roots);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) throw std::runtime_error("not shown");
    return dialog;
  }
  static QString Shown(const DirBrws& dialog) {
    return dialog.findChild<QLabel*>("LabDir")->text();
  }
  static void Press(const DirBrws& dialog, const char* button) {
    dialog.findChild<QPushButton*>(button)->click();
  }

 private slots:
  void init() {
    home_ = std::make_unique<TempFolder>();
    drive_ = std::make_unique<TempFolder>();
    drive_->MakeFolder("DATA/SUB");
    drive_->MakeFolder("DATA/OTHER");
    drive_->MakeFolder("WORK");
    settings_ = std::make_unique<tessaro::SettingsFile>(home_->File("Tessaro.INI"));
    asker_ = {};
    memory_ = {};
    previousCurrent_ = QDir::currentPath();
    QDir::setCurrent(Q(drive_->path() + "/WORK"));
  }
  void cleanup() {
    QDir::setCurrent(previousCurrent_);
    drive_.reset();
    home_.reset();
  }

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
    if (!lastDir.isEmpty())
      settings_->WriteSetting("DirDialogBox", "LastDir", Drive() + lastDir.toStdString());
    auto dialog = Open(given.isEmpty() ? "" : Drive() + given.toStdString());
    const QString shown = Shown(*dialog);
    Press(*dialog, "BtnOK");
    const QString drive = Q(Drive());
    QCOMPARE(shown + " " + Q(dialog->chosenFolder()),
             drive + shownAndChosen.replace(" ", " " + drive));
    QCOMPARE(Stored("LastDir"), shown);
    QVERIFY(dialog->isHidden());
    QVERIFY(asker_.told.empty());
  }

  void okAtTheRootReturnsItWithoutASecondSeparator() {
    auto dialog = Open("/", {"/"});
    QCOMPARE(Shown(*dialog), QString("/"));
    QVERIFY(!Items(dialog->findChild<QListWidget*>("Dir1")).contains(".."));
    Press(*dialog, "BtnOK");
    QCOMPARE(Q(dialog->chosenFolder()), QString("/"));
    QCOMPARE(Stored("LastDir"), QString("/"));
  }

  void openingFoldersInTheListMovesTheShownFolder() {
    auto dialog = Open(Drive() + "/DATA");
    QCOMPARE(dialog->windowTitle(), QString("Directory Selection"));
    QCOMPARE(dialog->findChild<QComboBox*>("Drive1")->currentText(), Q(Drive()));
    auto* dir1 = dialog->findChild<QListWidget*>("Dir1");
    QCOMPARE(Items(dir1), QStringList({"..", "OTHER", "SUB"}));
    OpenItem(dir1, "SUB");
    QCOMPARE(Shown(*dialog), Q(Drive() + "/DATA/SUB"));
    QCOMPARE(Items(dir1), QStringList({".."}));
    OpenItem(dir1, "..");
    // Enter opens the current folder and keeps the dialog open.
    dir1->setFocus();
    dir1->setCurrentItem(dir1->findItems("OTHER", Qt::MatchExactly).value(0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(Shown(*dialog), Q(Drive() + "/DATA/OTHER"));
    QVERIFY(dialog->isVisible());
    OpenItem(dir1, "..");
    OpenItem(dir1, "..");
    QCOMPARE(Shown(*dialog), Q(Drive()));
    QCOMPARE(Items(dir1), QStringList({"DATA", "WORK"}));  // no way further up
    Press(*dialog, "BtnOK");
    QCOMPARE(Q(dialog->chosenFolder()), Q(Drive() + "/"));
  }

  void cancelStoresTheFolderAndTheCloseBoxOnlyThePosition() {
    auto cancelled = Open(Drive() + "/DATA");
    cancelled->move(20, 10);
    Press(*cancelled, "BtnCan");
    QCOMPARE(Q(cancelled->chosenFolder()), QString(""));
    QCOMPARE(Stored("LastDir"), Q(Drive() + "/DATA"));
    QCOMPARE(Stored("Top") + " " + Stored("Left"), QString("150 300"));

    auto closed = Open(Drive() + "/WORK");
    closed->move(40, 30);
    QVERIFY(closed->close());
    QCOMPARE(Q(closed->chosenFolder()), QString(""));
    QCOMPARE(Stored("LastDir"), Q(Drive() + "/DATA"));
    QCOMPARE(Stored("Top") + " " + Stored("Left"), QString("450 600"));
  }

  void aPositionOffEveryScreenMovesOntoThePrimaryScreen() {
    settings_->WriteSetting("DirDialogBox", "Top", "-90000");
    settings_->WriteSetting("DirDialogBox", "Left", "-90000");
    DirBrws dialog(*settings_, memory_, asker_, "", {Drive()});
    QCOMPARE(dialog.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  }

  void anUnreadableDriveIsReportedAndTheLastGoodOneComesBack() {
    TempFolder other;
    const std::string missing = other.path() + "/NO-MEDIUM";
    auto dialog = Open(Drive() + "/DATA/SUB", {missing, Drive(), other.path()});
    auto* drive1 = dialog->findChild<QComboBox*>("Drive1");
    QCOMPARE(drive1->currentIndex(), 1);
    drive1->setCurrentIndex(0);  // before any other was chosen: back to the drive shown
    QCOMPARE(drive1->currentIndex(), 1);
    QCOMPARE(Shown(*dialog), Q(Drive() + "/DATA/SUB"));

    drive1->setCurrentIndex(2);
    QCOMPARE(Shown(*dialog), Q(other.path()));
    drive1->setCurrentIndex(0);
    QCOMPARE(asker_.told.size(), size_t{2});
    COMPARE_STD(asker_.told[1].title, "Alert");
    COMPARE_STD(asker_.told[1].text, "Drive " + missing + " is unavailable.");
    QCOMPARE(drive1->currentIndex(), 2);
    QCOMPARE(Shown(*dialog), Q(other.path()));
    COMPARE_STD(memory_.lastDrive, other.path());
    drive1->setCurrentIndex(1);  // a drive reopens the folder last shown on it
    QCOMPARE(Shown(*dialog), Q(Drive() + "/DATA/SUB"));
  }
};

QTEST_MAIN(DirDialogTest)
#include "dir_dialog_test.moc"
