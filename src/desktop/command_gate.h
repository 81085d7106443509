#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace tessaro::desktop {

// Keeps scans from overlapping: the session has one scanner and one scan state, so a
// command that reads or writes a file through it runs inside a Scope, and no other such
// command starts while one runs. When the work lets the window handle events in
// between (Yield), the controls that start a scan are disabled until it ends, so that a
// click cannot slip in and the operator sees why nothing happens.
class CommandGate {
 public:
  // The controls that start a scan: the file lists, New, Save, Save As, the mask and
  // folder buttons, delete-all.
  void setScanControls(std::vector<QWidget*> controls);

  // True while a command runs.
  bool busy() const { return busy_; }

  class Scope {
   public:
    enum class Pointer { kBusy, kNormal };

    // Enters the gate unless another command is running (see entered()). kBusy shows
    // the busy pointer at once; kNormal leaves it until ShowBusy or the first Yield.
    explicit Scope(CommandGate& gate, Pointer pointer = Pointer::kBusy);
    // Restores the pointer and the controls, whatever way the command ends.
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    // False when another command was running: the new one must do nothing.
    bool entered() const { return entered_; }

    void ShowBusy();
    // Lets the window handle pending events, with the scan controls disabled.
    void Yield();

   private:
    CommandGate& gate_;
    bool entered_ = false;
    bool pointerShown_ = false;
  };

 private:
  void DisableControls();
  void RestoreControls();

  bool busy_ = false;
  bool controlsDisabled_ = false;
  std::vector<QPointer<QWidget>> controls_;
  std::vector<QPointer<QWidget>> disabled_;  // the controls this gate disabled
  QPointer<QWidget> focus_;                  // where the keyboard focus was
};

}  // namespace tessaro::desktop
