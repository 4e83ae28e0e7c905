// The Linux host query for real: files in a temporary folder for the DNS
// server, private network namespaces for the adapters.
#include "platform/host/host_query_linux.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/host_discovery.h"

namespace {

namespace fs = std::filesystem;

struct DnsAnswer {
  std::uint32_t code;
  std::string server;
  bool operator==(const DnsAnswer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DnsAnswer& a) { return out << a.code << " '" << a.server << "'"; }

DnsAnswer askDns(HostQuery& query) {
  std::uint32_t size = NETWORK_PARAMS_FIRST_SIZE;
  HostQueryBuffer buffer = query.obtainBuffer(size);
  const std::uint32_t code = query.networkParams(buffer.get(), size);
  return {code, code == HOST_QUERY_OK ? query.firstDnsServer(buffer.get()) : ""};
}

// nullopt: the file is missing; "/": a folder stands in its place; "|": a
// FIFO that nobody writes to.
using FileText = std::optional<std::string>;

struct DnsCase {
  const char* name;
  FileText resolvConf;
  FileText upstream;
  DnsAnswer answer;
  friend void PrintTo(const DnsCase& c, std::ostream* out) { *out << c.name; }
};

class LinuxDnsServer : public ::testing::TestWithParam<DnsCase> {};

void place(const fs::path& path, const FileText& text) {
  if (!text) return;
  if (*text == "/") {
    fs::create_directory(path);
    return;
  }
  if (*text == "|") {
    ::mkfifo(path.c_str(), 0644);
    return;
  }
  std::ofstream(path) << *text;
}

TEST_P(LinuxDnsServer, FromResolverConfiguration) {
  const DnsCase& c = GetParam();
  const fs::path dir = fs::path(::testing::TempDir()) / ("nestiq-dns-" + std::string(c.name));
  fs::remove_all(dir);
  fs::create_directories(dir);
  HostConfigPaths paths;
  paths.resolvConf = dir / "resolv.conf";
  paths.resolvedUpstream = dir / "upstream.conf";
  place(paths.resolvConf, c.resolvConf);
  place(paths.resolvedUpstream, c.upstream);
  LinuxHostQuery query(paths);
  EXPECT_EQ(askDns(query), c.answer);
  fs::remove_all(dir);
}

const char* STUB = "# systemd-resolved stub\nnameserver 127.0.0.53\noptions edns0 trust-ad\nsearch .\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, LinuxDnsServer,
    ::testing::Values(
        DnsCase{"Plain", "nameserver 10.77.0.53\nnameserver 10.77.0.54\n", "nameserver 9.9.9.9\n", {0, "10.77.0.53"}},
        DnsCase{"StubLeadsToUpstream", STUB, "nameserver 2001:db8::53\nnameserver 192.0.2.53\n", {0, "192.0.2.53"}},
        DnsCase{"StubWithoutUpstreamServer", STUB, "# no servers\n", {0, ""}},
        DnsCase{"StubWithoutUpstreamFile", STUB, std::nullopt, {0, ""}},
        DnsCase{"NoResolverConfiguration", std::nullopt, "nameserver 9.9.9.9\n", {0, ""}},
        DnsCase{"UnreadableConfiguration", "/", std::nullopt, {EISDIR, ""}},
        DnsCase{"UnreadableUpstream", STUB, "/", {EISDIR, ""}},
        // Would wait for a writer for ever, and start-up with it.
        DnsCase{"FifoConfiguration", "|", std::nullopt, {EINVAL, ""}},
        DnsCase{"FifoUpstream", STUB, "|", {EINVAL, ""}}),
    [](const ::testing::TestParamInfo<DnsCase>& info) { return std::string(info.param.name); });

TEST(LinuxAdapters, UnreadableRouteTableFailsWithItsErrno) {
  HostConfigPaths paths;
  paths.routeTable = "/nonexistent/nestiq/route";
  LinuxHostQuery query(paths);
  std::uint32_t size = 0;
  const std::uint32_t code = query.adaptersInfo(nullptr, size);
  EXPECT_EQ(code, static_cast<std::uint32_t>(ENOENT));
}

struct ProbeRun {
  int status;
  std::vector<std::string> lines;
};

ProbeRun runProbe(const std::string& command) {
  ProbeRun result{-1, {}};
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  std::string text;
  char chunk[1024];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) text.append(chunk, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    result.lines.push_back(text.substr(start, end - start));
  return result;
}

// veth-pc comes from with-lan (10.77.0.1/24, default via 10.77.0.2). Links
// are made out of index order to show that the index decides.
constexpr const char* EXTRA_LINKS = R"(set -e
P="$LAN_PC"
ip -n "$P" link add wan index 50 type veth peer name wanpeer
ip -n "$P" addr add 172.20.0.5/16 dev wan
ip -n "$P" link set wan up
ip -n "$P" route add default via 172.20.0.1 dev wan metric 50
ip -n "$P" link add lan3 index 40 type ifb
ip -n "$P" addr add 10.8.0.2/32 peer 10.8.0.1/32 dev lan3
ip -n "$P" link set lan3 up
ip -n "$P" link add lan2 index 20 type ifb
ip -n "$P" addr add 192.168.50.7/26 dev lan2
ip -n "$P" addr add 192.168.60.1/24 dev lan2 label lan2:1
ip -n "$P" addr add 192.168.50.8/26 dev lan2
ip -n "$P" link set lan2 up
ip -n "$P" route add default via 192.168.50.2 dev lan2 metric 300
ip -n "$P" route add default via 192.168.50.1 dev lan2 metric 200
ip -n "$P" link add off index 10 type ifb
ip -n "$P" addr add 10.9.9.9/8 dev off
ip -n "$P" link add noip index 45 type ifb
ip -n "$P" link set noip up
exec ip netns exec "$P" )";

TEST(LinuxAdapters, PrivateLanWithSeveralLinks) {
  const ProbeRun r = runProbe(std::string(WITH_LAN) + " --dns 10.77.0.53 -- sh -c '" + EXTRA_LINKS + HOST_PROBE + "'");
  if (r.status == 77) GTEST_SKIP() << "needs root for network namespaces";
  ASSERT_EQ(r.status, 0);
  // wanpeer stays down, so wan is up without carrier: a disconnected card,
  // listed last, and its values remain.
  EXPECT_EQ(r.lines, (std::vector<std::string>{
                         "dns-code 0",
                         "dns 10.77.0.53",
                         "adapters-code 0",
                         "adapter 10.77.0.1|255.255.255.0|10.77.0.2",
                         "adapter 192.168.50.7|255.255.255.192|192.168.50.1",
                         "adapter 10.8.0.2|255.255.255.255|",
                         "adapter 172.20.0.5|255.255.0.0|172.20.0.1",
                         "fields 172.20.0.5|255.255.0.0|172.20.0.1|10.77.0.53",
                     }));
}

TEST(LinuxAdapters, OnlyLoopbackIsNoAdapter) {
  const ProbeRun r = runProbe(std::string("unshare -n sh -c 'ip link set lo up && exec ") + HOST_PROBE + "'");
  if (r.status != 0 && ::geteuid() != 0) GTEST_SKIP() << "needs root for a network namespace";
  ASSERT_EQ(r.status, 0);
  std::vector<std::string> adapterLines;
  for (const std::string& line : r.lines)
    if (line.rfind("adapter", 0) == 0 || line.find("GetAdaptersInfo") != std::string::npos)
      adapterLines.push_back(line);
  EXPECT_EQ(adapterLines, (std::vector<std::string>{
                              "adapters-code " + std::to_string(ENODEV),
                              "notice Arkelune|Call to GetAdaptersInfo failed.",
                          }));
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.back().rfind("fields |||", 0), 0u) << r.lines.back();
}

}  // namespace
