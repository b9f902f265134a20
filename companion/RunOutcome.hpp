#pragma once

#include "companion/CompanionCommand.hpp"

namespace tessen::companion {

// The exit status of a companion that works through its inputs one after another,
// telling each failure as it meets it and going on with the next:
// - kExitOk when nothing failed;
// - kExitUsage when an input could not be used (not opened, not read, not of its kind)
//   and no input gave anything: nothing was computed, as after a usage error;
// - kExitFailed for every other failure: some input was used, or a result could not be
//   given or written.
class RunOutcome {
  public:
    void input_used() { used_ = true; }
    void input_unusable() { unusable_ = true; }
    void result_failed() { failed_ = true; }

    int status() const {
        if (failed_ || (unusable_ && used_))
            return kExitFailed;
        return unusable_ ? kExitUsage : kExitOk;
    }

  private:
    bool used_ = false;
    bool unusable_ = false;
    bool failed_ = false;
};

} // namespace tessen::companion
