// The worker's road to the dialog: each operation runs on the UI thread, in
// order, and the worker waits for it; once the link is cut (a newer Launch,
// a closed dialog) nothing reaches the dialog and no worker stays waiting.
// Real threads, so that ThreadSanitizer watches the hand-over.
#include "ui/worker_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <functional>
#include <mutex>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A UI thread of our own: runs posted tasks one at a time, in order.
class FakeUiThread {
 public:
  FakeUiThread() : thread_([this] { loop(); }) {}
  ~FakeUiThread() {
    post({});
    thread_.join();
  }
  void post(std::function<void()> task) {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    changed_.notify_one();
  }
  bool isCurrent() const { return std::this_thread::get_id() == thread_.get_id(); }
  // Runs task on the UI thread and waits for it.
  void runAndWait(std::function<void()> task) {
    std::promise<void> done;
    post([&] {
      task();
      done.set_value();
    });
    done.get_future().wait();
  }
  UiThread handle() {
    return {[this](std::function<void()> task) { post(std::move(task)); }, [this] { return isCurrent(); }};
  }

 private:
  void loop() {
    for (;;) {
      std::function<void()> task;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !tasks_.empty(); });
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      if (!task) return;
      task();
    }
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> tasks_;
  std::thread thread_;
};

// The dialog's side: what ran, on which thread. Touched on the UI thread only,
// except posted statuses.
struct Dialog {
  std::vector<std::string> calls;
  bool onUiThread = true;
  bool cutDone = false;    // UI thread: the link was cut
  bool usedAfterCut = false;
  std::function<void()> closeNotice;
  std::atomic<int> statuses{0};
  std::atomic<bool> cutReturned{false};
  std::atomic<bool> statusAfterCut{false};
};

DialogOperations operationsOn(Dialog& d, FakeUiThread& ui) {
  const auto note = [&d, &ui](const char* what) {
    d.calls.push_back(what);
    if (!ui.isCurrent()) d.onUiThread = false;
    if (d.cutDone) d.usedAfterCut = true;
  };
  DialogOperations ops;
  ops.showBusyLook = [note] { note("busy"); };
  ops.showIdleLook = [note] { note("idle"); };
  ops.endExchangeTimer = [note] { note("timer"); };
  ops.postStatus = [&d](ExchangeStatus) {
    ++d.statuses;
    if (d.cutReturned) d.statusAfterCut = true;
  };
  ops.showNotice = [note, &d](const std::string&, const char*, std::function<void()> closed) {
    note("notice");
    d.closeNotice = std::move(closed);
  };
  return ops;
}

TEST(WorkerLink, OperationsRunOnTheUiThreadInOrderAndTheWorkerWaitsForEach) {
  FakeUiThread ui;
  Dialog d;
  WorkerLink link(ui.handle(), operationsOn(d, ui));
  std::thread worker([&] {
    link.showBusyLook();
    link.endExchangeTimer();
    link.showIdleLook();
  });
  worker.join();
  ui.runAndWait([&] {
    EXPECT_EQ(d.calls, (std::vector<std::string>{"busy", "timer", "idle"}));
    EXPECT_TRUE(d.onUiThread);
  });
}

TEST(WorkerLink, ANoticeHoldsTheWorkerUntilClosedOrCut) {
  for (const bool closeIt : {true, false}) {
    SCOPED_TRACE(closeIt ? "closed by the user" : "cut");
    FakeUiThread ui;
    Dialog d;
    WorkerLink link(ui.handle(), operationsOn(d, ui));
    std::atomic<bool> back{false};
    std::thread worker([&] {
      link.showWorkerNotice("connection reset", "KQV");
      back = true;
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(back) << "the worker did not wait for the notice";
    ui.runAndWait([&] {
      if (closeIt)
        d.closeNotice();
      else
        link.cut();
    });
    worker.join();
    EXPECT_TRUE(back);
    if (!closeIt) ui.runAndWait([&] { d.closeNotice(); });  // closed later: harmless
  }
}

TEST(WorkerLink, ACutReleasesAWorkerWhoseCallTheUiThreadHasNotRunYet) {
  FakeUiThread ui;
  Dialog d;
  WorkerLink link(ui.handle(), operationsOn(d, ui));
  // The UI thread is inside a handler (the dialog closing) while the
  // worker's call waits behind it; the handler cuts the link.
  std::promise<void> release;
  ui.post([&, f = release.get_future().share()] {
    f.wait();
    link.cut();
    d.cutDone = true;
  });
  std::thread worker([&] { link.showBusyLook(); });
  std::this_thread::sleep_for(50ms);
  release.set_value();
  worker.join();
  ui.runAndWait([&] { EXPECT_TRUE(d.calls.empty()); });
}

// Many rounds of a worker talking to the dialog while the UI thread cuts the
// link at a random moment, as a new Launch or a closed dialog does.
TEST(WorkerLink, NothingReachesTheDialogOnceCutWhateverTheMoment) {
  std::mt19937 rng(std::random_device{}());
  int roundsCutMidway = 0;
  for (int round = 0; round < 200; ++round) {
    FakeUiThread ui;
    Dialog d;
    auto link = std::make_unique<WorkerLink>(ui.handle(), operationsOn(d, ui));
    std::thread worker([&] {
      link->showBusyLook();
      for (int i = 0; i < 20; ++i) link->endExchangeTimer();
      link->postStatus(StatusConfigured);
      link->showWorkerNotice("connection reset", "KQV");
      link->showIdleLook();
    });
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 2000));
    ui.runAndWait([&] {
      link->cut();
      d.cutDone = true;
      if (d.closeNotice) d.closeNotice();
    });
    d.cutReturned = true;
    worker.join();
    ui.runAndWait([&] {
      EXPECT_FALSE(d.usedAfterCut) << "round " << round;
      EXPECT_TRUE(d.onUiThread);
      if (d.calls.size() < 23) ++roundsCutMidway;
    });
    EXPECT_FALSE(d.statusAfterCut) << "round " << round;
    EXPECT_LE(d.statuses, 1);
  }
  EXPECT_GT(roundsCutMidway, 0) << "every cut came too late to test anything";
}

}  // namespace
