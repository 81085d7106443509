// The About box's texts.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "desktop/about_box.h"

using tessaro::desktop::AboutBox;

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTitleVersionAndDescription() {
    AboutBox about;
    QCOMPARE(about.objectName(), QString("frmAbout"));
    QCOMPARE(about.windowTitle(), QString("About Tessaro"));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->text(), QString("Tessaro"));
    QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(), QString("Version ") + TESSARO_VERSION);
    QCOMPARE(about.findChild<QLabel*>("lblDescription")->text(),
             QString("Program for generating Horizontal Boring and Doweling programs from gcode."));
    QVERIFY(!about.findChild<QLabel*>("lblDisclaimer")->text().isEmpty());
  }

  void okClosesTheBoxAndSystemInfoIsHidden() {
    AboutBox about;
    about.show();
    auto* ok = about.findChild<QPushButton*>("cmdOK");
    QCOMPARE(ok->text(), QString("OK"));
    auto* sysInfo = about.findChild<QPushButton*>("cmdSysInfo");
    QCOMPARE(sysInfo->text(), QString("&System Info..."));
    QVERIFY(sysInfo->isHidden());
    ok->click();
    QVERIFY(about.isHidden());
    QCOMPARE(about.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
