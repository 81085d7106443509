// The folder dialog: what it returns and what it stores.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "app/settings_file.h"
#include "desktop/dir_dialog.h"
#include "desktop_test_support.h"

using tessaro::SettingsFile;
using tessaro::desktop::DirBrws;
using tessaro::desktop::DirDialogMemory;
using tessaro::testing::kNotStored;
using tessaro::testing::ScriptedOperator;
using tessaro::testing::StoredValue;
using tessaro::testing::TempFolder;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

template <typename Control>
Control* Find(const QWidget& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(name);
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return control;
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
  std::unique_ptr<SettingsFile> settings_;
  ScriptedOperator asker_;
  DirDialogMemory memory_;
  QString previousCurrent_;

  std::string Drive() const { return drive_->path(); }
  QString Stored(const std::string& key) const { return StoredValue(*home_, key); }

  std::unique_ptr<DirBrws> Open(const std::string& chosen, std::vector<std::string> roots = {}) {
    if (roots.empty()) roots = {Drive()};
    auto dialog = std::make_unique<DirBrws>(*settings_, memory_, asker_, chosen, roots);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) throw std::runtime_error("not shown");
    return dialog;
  }

 private slots:
  void init() {
    home_ = std::make_unique<TempFolder>();
    drive_ = std::make_unique<TempFolder>();
    drive_->MakeFolder("DATA/SUB");
    drive_->MakeFolder("DATA/OTHER");
    drive_->MakeFolder("WORK");
    settings_ = std::make_unique<SettingsFile>(home_->File("Tessaro.INI"));
    asker_ = ScriptedOperator();
    memory_ = DirDialogMemory();
    previousCurrent_ = QDir::currentPath();
    QDir::setCurrent(Q(drive_->path() + "/WORK"));
  }
  void cleanup() {
    QDir::setCurrent(previousCurrent_);
    drive_.reset();
    home_.reset();
  }

  void okReturnsTheGivenFolderWithOneTrailingSeparator() {
    auto dialog = Open(Drive() + "/DATA");
    QCOMPARE(dialog->windowTitle(), QString("Directory Selection"));
    QCOMPARE(Find<QComboBox>(*dialog, "Drive1")->currentText(), Q(Drive()));
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/DATA"));
    QCOMPARE(Items(*Find<QListWidget>(*dialog, "Dir1")), QStringList({"..", "OTHER", "SUB"}));
    Find<QPushButton>(*dialog, "BtnOK")->click();
    QCOMPARE(Q(dialog->chosenFolder()), Q(Drive() + "/DATA/"));
    QCOMPARE(Stored("DirDialogBox/LastDir"), Q(Drive() + "/DATA"));
    QVERIFY(dialog->isHidden());
  }

  void aFolderGivenWithItsSeparatorIsShownAndReturnedUnchanged() {
    auto dialog = Open(Drive() + "/DATA/");
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/DATA/"));
    Find<QPushButton>(*dialog, "BtnOK")->click();
    QCOMPARE(Q(dialog->chosenFolder()), Q(Drive() + "/DATA/"));
  }

  void okAtTheRootReturnsItWithoutASecondSeparator() {
    auto dialog = Open("/", {"/"});
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), QString("/"));
    QVERIFY(!Items(*Find<QListWidget>(*dialog, "Dir1")).contains(".."));
    Find<QPushButton>(*dialog, "BtnOK")->click();
    QCOMPARE(Q(dialog->chosenFolder()), QString("/"));
    QCOMPARE(Stored("DirDialogBox/LastDir"), QString("/"));
  }

  void openingFoldersInTheListMovesTheShownFolder() {
    auto dialog = Open(Drive() + "/DATA");
    auto* dir1 = Find<QListWidget>(*dialog, "Dir1");
    OpenItem(dir1, "SUB");
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/DATA/SUB"));
    QCOMPARE(Items(*dir1), QStringList({".."}));
    OpenItem(dir1, "..");
    OpenItem(dir1, "..");
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive()));
    // The drive's root has no way further up.
    QCOMPARE(Items(*dir1), QStringList({"DATA", "WORK"}));
    Find<QPushButton>(*dialog, "BtnOK")->click();
    QCOMPARE(Q(dialog->chosenFolder()), Q(Drive() + "/"));
  }

  void enterInTheFolderListOpensTheFolderAndKeepsTheDialogOpen() {
    auto dialog = Open(Drive() + "/DATA");
    auto* dir1 = Find<QListWidget>(*dialog, "Dir1");
    dir1->setFocus();
    dir1->setCurrentItem(dir1->findItems("OTHER", Qt::MatchExactly).value(0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/DATA/OTHER"));
    QVERIFY(dialog->isVisible());
  }

  void cancelReturnsNothingButStoresTheFolderAndPosition() {
    auto dialog = Open(Drive() + "/DATA");
    dialog->move(20, 10);
    Find<QPushButton>(*dialog, "BtnCan")->click();
    QCOMPARE(Q(dialog->chosenFolder()), QString(""));
    QCOMPARE(Stored("DirDialogBox/LastDir"), Q(Drive() + "/DATA"));
    QCOMPARE(Stored("DirDialogBox/Top"), QString("150"));
    QCOMPARE(Stored("DirDialogBox/Left"), QString("300"));
  }

  void theCloseBoxReturnsNothingAndStoresOnlyThePosition() {
    auto dialog = Open(Drive() + "/DATA");
    dialog->move(20, 10);
    QVERIFY(dialog->close());
    QCOMPARE(Q(dialog->chosenFolder()), QString(""));
    QCOMPARE(Stored("DirDialogBox/LastDir"), QString(kNotStored));
    QCOMPARE(Stored("DirDialogBox/Top"), QString("150"));
    QCOMPARE(Stored("DirDialogBox/Left"), QString("300"));
  }

  void withoutAGivenFolderTheLastShownOneIsPreselected() {
    settings_->WriteSetting("DirDialogBox", "LastDir", Drive() + "/DATA/SUB");
    auto dialog = Open("");
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/DATA/SUB"));
  }

  void withoutAnyFolderTheCurrentFolderIsShown() {
    auto dialog = Open("");
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/WORK"));
    Find<QPushButton>(*dialog, "BtnOK")->click();
    QCOMPARE(Q(dialog->chosenFolder()), Q(Drive() + "/WORK/"));
  }

  void aGivenFolderThatIsGoneLeavesTheListWhereItWas() {
    auto dialog = Open(Drive() + "/GONE");
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/WORK"));
    QVERIFY(asker_.told.empty());
  }

  void thePositionIsRestoredFromTwips() {
    settings_->WriteSetting("DirDialogBox", "Top", "1500");
    settings_->WriteSetting("DirDialogBox", "Left", "750");
    DirBrws dialog(*settings_, memory_, asker_, "", {Drive()});
    QCOMPARE(dialog.pos(), QPoint(50, 100));
  }

  void aPositionOffEveryScreenMovesOntoThePrimaryScreen() {
    settings_->WriteSetting("DirDialogBox", "Top", "-90000");
    settings_->WriteSetting("DirDialogBox", "Left", "-90000");
    DirBrws dialog(*settings_, memory_, asker_, "", {Drive()});
    QCOMPARE(dialog.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  }

  void anUnreadableDriveIsReportedAndTheLastGoodOneComesBack() {
    TempFolder other;
    other.MakeFolder("X");
    const std::string missing = other.path() + "/NO-MEDIUM";
    auto dialog = Open("", {missing, Drive(), other.path()});
    auto* drive1 = Find<QComboBox>(*dialog, "Drive1");
    drive1->setCurrentIndex(2);  // the other drive opens
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(other.path()));
    drive1->setCurrentIndex(0);
    QCOMPARE(asker_.told.size(), size_t{1});
    QCOMPARE(Q(asker_.told[0].title), QString("Alert"));
    QCOMPARE(Q(asker_.told[0].text), Q("Drive " + missing + " is unavailable."));
    QCOMPARE(drive1->currentIndex(), 2);
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(other.path()));
    QCOMPARE(Q(memory_.lastDrive), Q(other.path()));
  }

  void anUnreadableDriveBeforeAnyOtherReturnsToTheDriveShown() {
    const std::string missing = drive_->path() + "/NO-MEDIUM";
    auto dialog = Open("", {missing, Drive()});
    auto* drive1 = Find<QComboBox>(*dialog, "Drive1");
    QCOMPARE(drive1->currentIndex(), 1);
    drive1->setCurrentIndex(0);
    QCOMPARE(asker_.told.size(), size_t{1});
    QCOMPARE(drive1->currentIndex(), 1);
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/WORK"));
  }

  void aDriveReopensTheFolderLastShownOnIt() {
    TempFolder other;
    auto dialog = Open(Drive() + "/DATA/SUB", {Drive(), other.path()});
    auto* drive1 = Find<QComboBox>(*dialog, "Drive1");
    drive1->setCurrentIndex(1);
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(other.path()));
    drive1->setCurrentIndex(0);
    QCOMPARE(Find<QLabel>(*dialog, "LabDir")->text(), Q(Drive() + "/DATA/SUB"));
  }
};

QTEST_MAIN(DirDialogTest)
#include "dir_dialog_test.moc"
