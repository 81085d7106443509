#include "desktop/command_gate.h"

#include <QApplication>

namespace tessaro::desktop {

void CommandGate::setScanControls(std::vector<QWidget*> controls) {
  controls_.assign(controls.begin(), controls.end());
}

void CommandGate::DisableControls() {
  if (controlsDisabled_) return;
  controlsDisabled_ = true;
  focus_ = QApplication::focusWidget();
  for (const QPointer<QWidget>& control : controls_) {
    if (control != nullptr && control->isEnabled()) {
      control->setEnabled(false);
      disabled_.push_back(control);
    }
  }
}

void CommandGate::RestoreControls() {
  if (!controlsDisabled_) return;
  controlsDisabled_ = false;
  for (const QPointer<QWidget>& control : disabled_) {
    if (control != nullptr) control->setEnabled(true);
  }
  disabled_.clear();
  // Disabling moved the focus on; give it back to where the operator left it.
  if (focus_ != nullptr && focus_->isEnabled() && focus_->isVisible()) focus_->setFocus();
  focus_ = nullptr;
}

CommandGate::Scope::Scope(CommandGate& gate, Pointer pointer) : gate_(gate) {
  if (gate_.busy_) return;
  gate_.busy_ = true;
  entered_ = true;
  if (pointer == Pointer::kBusy) ShowBusy();
}

CommandGate::Scope::~Scope() {
  if (!entered_) return;
  gate_.RestoreControls();
  if (pointerShown_) QApplication::restoreOverrideCursor();
  gate_.busy_ = false;
}

void CommandGate::Scope::ShowBusy() {
  if (!entered_ || pointerShown_) return;
  pointerShown_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CommandGate::Scope::Yield() {
  if (!entered_) return;
  ShowBusy();
  gate_.DisableControls();
  QCoreApplication::processEvents();
}

}  // namespace tessaro::desktop
