// nestiq-box: plays the box of a configuration exchange. See --help.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "tools/box/box_options.h"
#include "tools/box/escapes.h"

namespace {

constexpr std::uint16_t kPort = 9999;
constexpr int kConnectTimeoutSeconds = 5;
const auto kStart = std::chrono::steady_clock::now();

void say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void complain(const std::string& what) {
  std::fprintf(stderr, "nestiq-box: %s: %s\n", what.c_str(), std::strerror(errno));
}

void pause(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Written whole or not at all: a reader never sees half a file.
bool writeFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".part";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool ok = done == bytes.size() && close(fd) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok && rename(temporary.c_str(), path.c_str()) == 0;
}

bool sendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Until the other side closes (or resets) the connection.
void holdUntilClosed(int fd) {
  char sink[256];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, -1) < 0 && errno != EINTR) return;
    const ssize_t n = recv(fd, sink, sizeof sink, 0);
    if (n == 0 || (n < 0 && errno != EINTR)) return;
  }
}

int connectBack(const sockaddr_in& sender) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const timeval limit{kConnectTimeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in to = sender;
  to.sin_port = htons(kPort);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

// One request's answer; returns what was done, for the output line.
std::string answer(const BoxOptions& o, const sockaddr_in& sender) {
  if (o.answer == BoxAnswer::NoConnect) return "not connecting";
  pause(o.delayMs);
  const std::string where = std::string(inet_ntoa(sender.sin_addr)) + ":" + std::to_string(kPort);
  const int fd = connectBack(sender);
  if (fd < 0) {
    complain("cannot connect to " + where);
    return "could not connect to " + where;
  }
  std::string done;
  switch (o.answer) {
    case BoxAnswer::Silent:
      holdUntilClosed(fd);
      done = "held a silent connection to " + where + " until it closed";
      break;
    case BoxAnswer::Close:
      done = "connected to " + where + " and closed without sending";
      break;
    case BoxAnswer::Reset: {
      const linger abort{1, 0};  // close() then sends a reset
      setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      done = "connected to " + where + " and reset the connection";
      break;
    }
    case BoxAnswer::Reply:
    case BoxAnswer::NoConnect: {
      const std::string& r = o.reply;
      const std::size_t first = o.splitMs ? std::max<std::size_t>(1, r.size() / 2) : r.size();
      bool sent = sendAll(fd, r.data(), std::min(first, r.size()));
      if (sent && first < r.size()) {
        pause(*o.splitMs);
        sent = sendAll(fd, r.data() + first, r.size() - first);
      }
      if (!sent) complain("cannot send to " + where);
      done = (sent ? "sent " : "failed to send ") + std::to_string(r.size()) + " bytes to " + where +
             (first < r.size() ? " in two parts" : "") + ": " + printableBytes(r);
      break;
    }
  }
  close(fd);
  return done;
}

int openRequestSocket() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_addr.s_addr = htonl(INADDR_ANY);  // the limited broadcast reaches only this
  any.sin_port = htons(kPort);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = parseBoxOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "nestiq-box: %s\nTry 'nestiq-box --help'.\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(boxHelpText(), stdout);
    return 0;
  }
  std::signal(SIGPIPE, SIG_IGN);

  const int requests = openRequestSocket();
  if (requests < 0) {
    complain("cannot listen on UDP port " + std::to_string(kPort));
    return 1;
  }
  if (!options->readyFile.empty() && !writeFileAtomically(options->readyFile, "ready\n")) {
    complain("cannot write " + options->readyFile);
    return 1;
  }
  say("ready");

  for (unsigned served = 0; options->count == 0 || served < options->count;) {
    char buffer[65536];
    sockaddr_in sender{};
    socklen_t senderSize = sizeof sender;
    const ssize_t n =
        recvfrom(requests, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sender), &senderSize);
    if (n < 0) {
      if (errno == EINTR) continue;
      complain("cannot receive");
      return 1;
    }
    ++served;
    const std::string request(buffer, static_cast<std::size_t>(n));
    if (!options->recordFile.empty() && !writeFileAtomically(options->recordFile, request))
      complain("cannot write " + options->recordFile);
    const double at = std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count();
    char head[128];
    std::snprintf(head, sizeof head, "request %u from %s:%u, %zd bytes, at %.3f s: ", served,
                  inet_ntoa(sender.sin_addr), ntohs(sender.sin_port), n, at);
    say(head + printableBytes(request));
    say("answer " + std::to_string(served) + ": " + answer(*options, sender));
  }
  close(requests);
  return 0;
}
