#pragma once
#include "UserInterface.h"

namespace velterra {

// The wait cursor for the length of a scope, ended on every way out; nothing without a user
// interface.
class WaitCursor {
  public:
    explicit WaitCursor(IUserInterface* ui) : ui_(ui) {
        if (ui_ != nullptr) ui_->SetWaitCursor(true);
    }
    ~WaitCursor() {
        if (ui_ != nullptr) ui_->SetWaitCursor(false);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    IUserInterface* ui_;
};

}  // namespace velterra
