// Message boxes that come up in the middle of a command.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "desktop/message_box_operator.h"

class MessageBoxOperatorTest : public QObject {
  Q_OBJECT

 private slots:
  void aQuestionDuringABusyCommandShowsTheNormalPointer() {
    tessaro::desktop::MessageBoxOperator asker;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool busyOverBox = true;
    QTimer::singleShot(0, [&busyOverBox] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      const QCursor* pointer = QApplication::overrideCursor();
      busyOverBox = pointer != nullptr && pointer->shape() == Qt::WaitCursor;
      box->button(QMessageBox::No)->click();
    });

    QVERIFY(!asker.AskYesNo("Alert!", "Delete?"));

    QVERIFY(!busyOverBox);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);  // busy again after
    QApplication::restoreOverrideCursor();
  }
};

QTEST_MAIN(MessageBoxOperatorTest)
#include "message_box_operator_test.moc"
