#include "platform/host/host_query_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/host/adapter_list.h"
#include "platform/host/host_config_parse.h"
#include "platform/host/host_records.h"
#include "platform/host/interface_list_linux.h"

namespace {

// Far beyond any resolv.conf or route table this tool meets.
constexpr std::size_t MAX_CONFIG_TEXT = 16 * 1024 * 1024;

int readTextFile(const std::string& path, std::string& text) {
  // Without O_NONBLOCK a FIFO in the file's place would hold start-up for
  // good; only a regular file (or a folder, which fails below) is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st{};
  if (::fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
    ::close(fd);
    return EINVAL;
  }
  text.clear();
  char chunk[4096];
  int error = 0;
  while (text.size() < MAX_CONFIG_TEXT) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return error;
}

// An errno as the query's answer. ECONNREFUSED is 111 on Linux and would
// read as "buffer too small"; it cannot come from these reads, but a failure
// must never pass for anything else.
std::uint32_t failureCode(int error) {
  if (error <= 0 || static_cast<std::uint32_t>(error) == HOST_QUERY_BUFFER_TOO_SMALL) return EIO;
  return static_cast<std::uint32_t>(error);
}

}  // namespace

LinuxHostQuery::LinuxHostQuery(HostConfigPaths paths) : paths_(std::move(paths)) {}

// A missing file means no server is configured: success with none. The
// stub's address is of no use to the box, so with the stub and no upstream
// list there is no server either.
int LinuxHostQuery::readDnsServer(std::string& server) const {
  server.clear();
  std::string text;
  int error = readTextFile(paths_.resolvConf, text);
  if (error) return error == ENOENT ? 0 : error;
  server = firstIpv4Nameserver(text);
  if (server != RESOLVED_STUB_ADDRESS) return 0;
  server.clear();
  error = readTextFile(paths_.resolvedUpstream, text);
  if (error) return error == ENOENT ? 0 : error;
  server = firstIpv4Nameserver(text);
  return 0;
}

std::uint32_t LinuxHostQuery::networkParams(std::byte* buffer, std::uint32_t& size) {
  std::string server;
  if (const int error = readDnsServer(server)) return failureCode(error);
  return packNetworkParams(server, buffer, size);
}

const char* LinuxHostQuery::firstDnsServer(const std::byte* buffer) const { return packedDnsServer(buffer); }

std::uint32_t LinuxHostQuery::adaptersInfo(std::byte* buffer, std::uint32_t& size) {
  std::vector<InterfaceInfo> interfaces;
  if (const int error = listKernelInterfaces(interfaces)) return failureCode(error);
  std::string routes;
  if (const int error = readTextFile(paths_.routeTable, routes)) return failureCode(error);
  return packAdapters(adaptersInKernelOrder(std::move(interfaces), defaultGatewaysByInterface(routes)), buffer, size,
                      ENODEV);
}

const HostAdapterEntry* LinuxHostQuery::firstAdapter(const std::byte* buffer) const {
  return packedFirstAdapter(buffer);
}

const HostAdapterEntry* LinuxHostQuery::nextAdapter(const HostAdapterEntry* entry) const {
  return packedNextAdapter(entry);
}

HostAdapterTexts LinuxHostQuery::adapterTexts(const HostAdapterEntry* entry) const {
  return packedAdapterTexts(entry);
}

std::uint32_t LinuxHostQuery::outOfMemoryCode() const { return ENOMEM; }

HostQuery& systemHostQuery() {
  static LinuxHostQuery query;
  return query;
}
