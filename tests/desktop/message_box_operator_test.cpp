// Message boxes that come up in the middle of a command.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "desktop/message_box_operator.h"

using tessaro::desktop::MessageBoxOperator;

namespace {

// Notes the pointer shown over the box that is open, then presses its button.
void AnswerOpenBox(QMessageBox::StandardButton button, Qt::CursorShape& pointer) {
  QTimer::singleShot(0, [button, &pointer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    pointer = QApplication::overrideCursor() == nullptr ? Qt::ArrowCursor
                                                        : QApplication::overrideCursor()->shape();
    box->button(button)->click();
  });
}

}  // namespace

class MessageBoxOperatorTest : public QObject {
  Q_OBJECT

 private slots:
  void aQuestionDuringABusyCommandShowsTheNormalPointer() {
    MessageBoxOperator asker;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Qt::CursorShape pointer = Qt::BlankCursor;
    AnswerOpenBox(QMessageBox::No, pointer);

    const bool yes = asker.AskYesNo("Alert!", "Delete?");

    QVERIFY(!yes);
    QCOMPARE(pointer, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void aMessageOutsideACommandLeavesThePointerAlone() {
    MessageBoxOperator asker;
    Qt::CursorShape pointer = Qt::BlankCursor;
    AnswerOpenBox(QMessageBox::Ok, pointer);

    asker.Tell("Alert", "Cannot write /p/A.RCM: No space left on device");

    QCOMPARE(pointer, Qt::ArrowCursor);
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

QTEST_MAIN(MessageBoxOperatorTest)
#include "message_box_operator_test.moc"
