// The About box's texts and buttons.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "desktop/about_box.h"
#include "tessaro_version.h"

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheVersionAndOkClosesIt() {
    tessaro::desktop::AboutBox about;
    QCOMPARE(about.windowTitle(), QString("About Tessaro"));
    QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(), QString("Version ") + TESSARO_VERSION);
    about.show();
    // No system-information viewer outside Windows.
    QVERIFY(about.findChild<QPushButton*>("cmdSysInfo")->isHidden());
    about.findChild<QPushButton*>("cmdOK")->click();
    QCOMPARE(about.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
