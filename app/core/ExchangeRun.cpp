#include "ExchangeRun.h"

namespace velterra {

void ExchangeRunRule::Begin() {
    if (depth_++ == 0) {
        failuresInARow_ = 0;
        runStopped_ = false;
    }
}

void ExchangeRunRule::End() {
    if (depth_ > 0 && --depth_ == 0) runStopped_ = false;
}

bool ExchangeRunRule::MayExchange() const {
    return !stopRequested_ && !(depth_ > 0 && runStopped_);
}

bool ExchangeRunRule::Record(bool succeeded) {
    if (succeeded) {
        failuresInARow_ = 0;
        return false;
    }
    const int failures = ++failuresInARow_;
    if (depth_ == 0 || failures < kSilentLimit || runStopped_.exchange(true)) return false;
    return true;
}

}  // namespace velterra
