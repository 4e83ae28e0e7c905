#include "platform/host/interface_list_linux.h"

#include <linux/if.h>
#include <linux/if_addr.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

namespace {

class NetlinkSocket {
 public:
  NetlinkSocket() : fd_(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {}
  ~NetlinkSocket() {
    if (fd_ >= 0) ::close(fd_);
  }
  NetlinkSocket(const NetlinkSocket&) = delete;
  NetlinkSocket& operator=(const NetlinkSocket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

using MessageHandler = std::function<void(const nlmsghdr&)>;

// NLMSG_OK compares the header's unsigned length with the signed count it
// is given; clang flags the kernel macro where gcc does not.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wsign-compare"
#endif
// Errno of the failure, or 0. EAGAIN: the dump was cut by a change and
// should be asked again.
int dump(int fd, std::uint16_t type, unsigned char family, std::uint32_t sequence, const MessageHandler& handle) {
  struct {
    nlmsghdr header;
    rtgenmsg body;
  } request{};
  request.header.nlmsg_len = NLMSG_LENGTH(sizeof request.body);
  request.header.nlmsg_type = type;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = sequence;
  request.body.rtgen_family = family;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  if (::sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) < 0)
    return errno;

  // A dump part never exceeds 32 KiB.
  alignas(nlmsghdr) static thread_local char buffer[64 * 1024];
  bool interrupted = false;
  while (true) {
    sockaddr_nl from{};
    iovec part{buffer, sizeof buffer};
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    const ssize_t received = ::recvmsg(fd, &message, 0);
    if (received < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (received == 0) return EIO;
    if (message.msg_flags & MSG_TRUNC) return EMSGSIZE;
    if (from.nl_pid != 0) continue;  // only the kernel answers a dump
    int length = static_cast<int>(received);
    for (auto* header = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(header, length);
         header = NLMSG_NEXT(header, length)) {
      if (header->nlmsg_seq != sequence) continue;
      if (header->nlmsg_flags & NLM_F_DUMP_INTR) interrupted = true;
      if (header->nlmsg_type == NLMSG_DONE) return interrupted ? EAGAIN : 0;
      if (header->nlmsg_type == NLMSG_ERROR) {
        if (header->nlmsg_len < NLMSG_LENGTH(sizeof(nlmsgerr))) return EIO;
        const auto* error = static_cast<const nlmsgerr*>(NLMSG_DATA(header));
        return error->error == 0 ? 0 : -error->error;
      }
      handle(*header);
    }
  }
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

void readLink(const nlmsghdr& header, std::map<int, InterfaceInfo>& links) {
  if (header.nlmsg_type != RTM_NEWLINK || header.nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) return;
  const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(&header));
  if (info->ifi_index <= 0) return;
  InterfaceInfo& link = links[info->ifi_index];
  link.index = static_cast<unsigned>(info->ifi_index);
  link.loopback = (info->ifi_flags & IFF_LOOPBACK) != 0;
  link.up = (info->ifi_flags & IFF_UP) != 0;
  int length = static_cast<int>(IFLA_PAYLOAD(&header));
  for (const rtattr* attribute = IFLA_RTA(info); RTA_OK(attribute, length); attribute = RTA_NEXT(attribute, length)) {
    if (attribute->rta_type != IFLA_IFNAME) continue;
    const char* name = static_cast<const char*>(RTA_DATA(attribute));
    link.name.assign(name, strnlen(name, RTA_PAYLOAD(attribute)));
  }
}

void readAddress(const nlmsghdr& header, std::map<int, InterfaceInfo>& links) {
  if (header.nlmsg_type != RTM_NEWADDR || header.nlmsg_len < NLMSG_LENGTH(sizeof(ifaddrmsg))) return;
  const auto* info = static_cast<const ifaddrmsg*>(NLMSG_DATA(&header));
  const auto link = links.find(static_cast<int>(info->ifa_index));
  // The first address listed for an interface is its first address.
  if (info->ifa_family != AF_INET || link == links.end() || link->second.firstAddress) return;
  const unsigned char* local = nullptr;
  const unsigned char* address = nullptr;
  int length = static_cast<int>(IFA_PAYLOAD(&header));
  for (const rtattr* attribute = IFA_RTA(info); RTA_OK(attribute, length); attribute = RTA_NEXT(attribute, length)) {
    if (RTA_PAYLOAD(attribute) != 4) continue;
    // On a point-to-point link IFA_ADDRESS is the peer; IFA_LOCAL is ours.
    if (attribute->rta_type == IFA_LOCAL) local = static_cast<const unsigned char*>(RTA_DATA(attribute));
    if (attribute->rta_type == IFA_ADDRESS) address = static_cast<const unsigned char*>(RTA_DATA(attribute));
  }
  const unsigned char* bytes = local ? local : address;
  if (!bytes) return;
  link->second.firstAddress = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
                              std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
  link->second.prefixLength = info->ifa_prefixlen;
}

int listOnce(std::vector<InterfaceInfo>& interfaces) {
  NetlinkSocket socket;
  if (socket.fd() < 0) return errno;
  std::map<int, InterfaceInfo> links;
  bool interrupted = false;
  int error = dump(socket.fd(), RTM_GETLINK, AF_UNSPEC, 1, [&](const nlmsghdr& h) { readLink(h, links); });
  if (error == EAGAIN) interrupted = true;
  else if (error) return error;
  error = dump(socket.fd(), RTM_GETADDR, AF_INET, 2, [&](const nlmsghdr& h) { readAddress(h, links); });
  if (error == EAGAIN) interrupted = true;
  else if (error) return error;
  interfaces.clear();
  for (auto& [index, link] : links) interfaces.push_back(std::move(link));
  return interrupted ? EAGAIN : 0;
}

}  // namespace

int listKernelInterfaces(std::vector<InterfaceInfo>& interfaces) {
  // A dump cut short by a change in the interfaces is asked again; the last
  // answer is taken as it is.
  int error = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    error = listOnce(interfaces);
    if (error != EAGAIN) return error;
  }
  return 0;
}
