#pragma once
// nestiq-box running in a network namespace of the test's LAN.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

struct BoxRequest {
  std::string from;  // the sender's address, without the port
  std::size_t size = 0;
  double at = 0;  // seconds since the box started
};

class BoxProcess {
 public:
  // Starts `ip netns exec NETNS nestiq-box ARGS` and waits until it listens.
  BoxProcess(const std::string& netns, const std::vector<std::string>& args);
  ~BoxProcess();
  BoxProcess(const BoxProcess&) = delete;
  BoxProcess& operator=(const BoxProcess&) = delete;

  bool listening() const { return listening_; }
  // What went wrong, with the box's own error output.
  std::string problem() const;

  std::vector<BoxRequest> requests() const;
  // The exact bytes of the latest request.
  std::string recordedRequest() const;
  std::string output() const;

 private:
  std::string dir_;
  pid_t pid_ = -1;
  bool listening_ = false;
  std::string problem_;
};

// The value of a variable that with-lan sets, or "" outside one.
std::string lanVariable(const char* name);
