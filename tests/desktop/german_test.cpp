// The window in German, as the system's language chooses it (ctest runs this with
// LANG=de_DE.UTF-8).
#include <QAbstractButton>
#include <QMessageBox>

#include "desktop/core_text.h"
#include "desktop/translations.h"
#include "window_fixture.h"

using namespace tessaro::testing;

class GermanTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!qgetenv("LANG").startsWith("de")) QSKIP("needs LANG=de_DE.UTF-8, as ctest sets it");
    QVERIFY2(tessaro::desktop::InstallTranslations(*qApp), "tessaro_de.qm not found");
  }

  void captionsAreGermanAndFitTheirControls() {
    ShownWindow shown;
    QCOMPARE(shown.find<QAbstractButton>("AutoScan")->text(), "Automatische Übersetzung");
    QCOMPARE(shown.window().windowTitle(), "Tessaro - RCM-Format");
    for (const QAbstractButton* button : shown.window().findChildren<QAbstractButton*>()) {
      if (!button->isVisibleTo(&shown.window()) || button->text().isEmpty()) continue;
      QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(button->text()));
    }
  }

  void coreMessagesAreGivenInGermanWithTheirParts() {
    using tessaro::desktop::CoreText;
    QCOMPARE(CoreText("Cannot read /panels/A: the file is larger than 16 MiB"),
             "/panels/A kann nicht gelesen werden: die Datei ist größer als 16 MiB");
    // A heading of the window's own above core lines: each line on its own.
    QCOMPARE(CoreText("Werte:\r/h/Tessaro.INI line 4: ScanTime=x is not a number of seconds from "
                      "0.001 to 86400; 5 is used instead"),
             "Werte:\r/h/Tessaro.INI Zeile 4: ScanTime=x ist keine Sekundenzahl von 0,001 bis "
             "86400; stattdessen gilt 5");
    QCOMPARE(CoreText("SHELF_A1.RCM"), "SHELF_A1.RCM");
  }

  void aQuestionAsksInGermanWithQtsOwnButtons() {
    ShownWindow shown;
    tessaro::desktop::MessageBoxOperator boxes(&shown.window());
    QString asked;
    WhenModal<QMessageBox>(this, [&asked](QMessageBox& box) {
      asked = box.windowTitle() + "|" + box.text() + "|" + box.button(QMessageBox::No)->text();
      box.button(QMessageBox::No)->click();
    });
    QVERIFY(!boxes.AskYesNo("Alert!",
                            "         Source file NOTES01\r    Is not of the correct file type."
                            "\r\r      Do you wish to delete it?"));
    QCOMPARE(asked,
             "Achtung!|         Quelldatei NOTES01\n    hat nicht den richtigen Dateityp."
             "\n\n      Möchten Sie sie löschen?|&Nein");
  }
};

QTEST_MAIN(GermanTest)
#include "german_test.moc"
