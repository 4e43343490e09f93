// When a run of parameter exchanges (a refresh, a console command) gives up: after a few failed
// exchanges in a row the camera is taken as gone, said once, and the run's remaining exchanges
// are skipped instead of each waiting out its time limit. A stop request (a signal, closing the
// window) skips every exchange from then on. Safe to use from the window's and the polling
// thread.
#pragma once

#include <atomic>

namespace velterra {

class ExchangeRunRule {
  public:
    // Failed exchanges in a row after which a run stops.
    static constexpr int kSilentLimit = 3;

    // A run starts (the outermost of nested runs counts afresh) or ends.
    void Begin();
    void End();

    // Whether an exchange may go out now.
    bool MayExchange() const;
    // Records an exchange's outcome; true exactly once per run: for the failure that stops it.
    bool Record(bool succeeded);

    void RequestStop() { stopRequested_ = true; }
    bool StopRequested() const { return stopRequested_; }

  private:
    std::atomic<int> depth_{0};
    std::atomic<int> failuresInARow_{0};
    std::atomic<bool> runStopped_{false};
    std::atomic<bool> stopRequested_{false};
};

// Begin and End of a run over a scope.
class ExchangeRun {
  public:
    explicit ExchangeRun(ExchangeRunRule& rule) : rule_(rule) { rule_.Begin(); }
    ~ExchangeRun() { rule_.End(); }
    ExchangeRun(const ExchangeRun&) = delete;
    ExchangeRun& operator=(const ExchangeRun&) = delete;

  private:
    ExchangeRunRule& rule_;
};

}  // namespace velterra
