#include "ui/worker_link.h"

#include <condition_variable>
#include <mutex>

struct WorkerLink::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool cut = false;
  DialogOperations ops;
};

WorkerLink::WorkerLink(UiThread ui, DialogOperations ops) : ui_(std::move(ui)), state_(std::make_shared<State>()) {
  state_->ops = std::move(ops);
}

WorkerLink::~WorkerLink() { cut(); }

void WorkerLink::cut() {
  {
    std::lock_guard lock(state_->mutex);
    state_->cut = true;
  }
  state_->changed.notify_all();
}

bool WorkerLink::isCut() const {
  std::lock_guard lock(state_->mutex);
  return state_->cut;
}

void WorkerLink::runAndWait(std::function<void(std::function<void()>)> task) {
  auto state = state_;
  auto done = std::make_shared<bool>(false);
  auto finish = [state, done] {
    {
      std::lock_guard lock(state->mutex);
      *done = true;
    }
    state->changed.notify_all();
  };
  auto onUi = [state, task = std::move(task), finish] {
    // The cut is made on the UI thread too, so this test cannot go stale
    // before the task has run.
    bool cut;
    {
      std::lock_guard lock(state->mutex);
      cut = state->cut;
    }
    if (cut)
      finish();
    else
      task(finish);
  };
  if (ui_.isCurrent()) {
    onUi();  // a blocking hop to our own thread would never return
  } else {
    if (isCut()) return;
    ui_.post(std::move(onUi));
  }
  std::unique_lock lock(state->mutex);
  state->changed.wait(lock, [&] { return *done || state->cut; });
}

void WorkerLink::showBusyLook() {
  runAndWait([s = state_](std::function<void()> done) {
    s->ops.showBusyLook();
    done();
  });
}

void WorkerLink::showIdleLook() {
  runAndWait([s = state_](std::function<void()> done) {
    s->ops.showIdleLook();
    done();
  });
}

void WorkerLink::endExchangeTimer() {
  runAndWait([s = state_](std::function<void()> done) {
    s->ops.endExchangeTimer();
    done();
  });
}

void WorkerLink::postStatus(ExchangeStatus status) {
  // Held across the post so that a cut made while the window goes away
  // cannot overlap it.
  std::lock_guard lock(state_->mutex);
  if (!state_->cut) state_->ops.postStatus(status);
}

void WorkerLink::showWorkerNotice(const std::string& text, const char* caption) {
  runAndWait([s = state_, text, caption](std::function<void()> done) { s->ops.showNotice(text, caption, done); });
}
