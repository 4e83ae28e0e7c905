#include "tests/net/recording_dialog.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

void RecordingDialog::showIdleLook() { record("idle-look" + portNote()); }

void RecordingDialog::postStatus(ExchangeStatus status) { record("status:" + std::to_string(status) + portNote()); }

std::string RecordingDialog::portNote() const {
  if (!probePort) return "";
  return port9999CanBeTaken() ? "(port free)" : "(port taken)";
}

void RecordingDialog::record(std::string what) {
  std::lock_guard lock(mutex_);
  calls_.push_back({std::move(what), busy_.load(), std::chrono::steady_clock::now()});
}

std::vector<DialogCall> RecordingDialog::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::string RecordingDialog::summary() const {
  std::string s;
  for (const auto& c : calls()) s += (s.empty() ? "" : " ") + c.what;
  return s;
}

bool port9999CanBeTaken() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  any.sin_port = htons(9999);
  const bool taken = bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0 && listen(fd, 1) == 0;
  close(fd);
  return taken;
}
