#include "settings/host_discovery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "platform/host/host_records.h"
#include "settings/notice.h"

namespace {

constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_NO_DATA = 232;
constexpr std::uint32_t NO_MEMORY = 8;

// One answer of a scripted call; sizeBack goes with "buffer too small"
// (0: the size the records need).
struct Step {
  std::uint32_t result;
  std::uint32_t sizeBack = 0;
};

struct Call {
  const std::byte* buffer;
  std::uint32_t size;
};

// Answers each call from a script, in the records the Linux query uses, and
// remembers what it was asked.
class ScriptedHostQuery : public HostQuery {
 public:
  std::vector<Step> networkScript;
  std::vector<Step> adapterScript;
  std::string dnsServer = "10.1.2.3";
  std::vector<HostAdapter> adapters;
  // Buffers handed out before memory runs out.
  std::size_t buffersAvailable = SIZE_MAX;

  std::vector<Call> networkCalls;
  std::vector<Call> adapterCalls;
  std::vector<std::uint32_t> obtainedSizes;

  std::uint32_t networkParams(std::byte* buffer, std::uint32_t& size) override {
    networkCalls.push_back({buffer, size});
    const Step step = next(networkScript, networkCalls.size());
    if (step.result == HOST_QUERY_BUFFER_TOO_SMALL) size = step.sizeBack;
    if (step.result == HOST_QUERY_OK) {
      EXPECT_EQ(packNetworkParams(dnsServer, buffer, size), HOST_QUERY_OK);
    }
    return step.result;
  }
  const char* firstDnsServer(const std::byte* buffer) const override { return packedDnsServer(buffer); }

  std::uint32_t adaptersInfo(std::byte* buffer, std::uint32_t& size) override {
    adapterCalls.push_back({buffer, size});
    const Step step = next(adapterScript, adapterCalls.size());
    if (step.result == HOST_QUERY_BUFFER_TOO_SMALL) {
      size = step.sizeBack;
      if (size == 0) packAdapters(adapters, nullptr, size, ERROR_NO_DATA);
    }
    if (step.result == HOST_QUERY_OK && buffer) {
      EXPECT_EQ(packAdapters(adapters, buffer, size, ERROR_NO_DATA), HOST_QUERY_OK);
    }
    return step.result;
  }
  const HostAdapterEntry* firstAdapter(const std::byte* buffer) const override { return packedFirstAdapter(buffer); }
  const HostAdapterEntry* nextAdapter(const HostAdapterEntry* entry) const override {
    return packedNextAdapter(entry);
  }
  HostAdapterTexts adapterTexts(const HostAdapterEntry* entry) const override { return packedAdapterTexts(entry); }

  HostQueryBuffer obtainBuffer(std::uint32_t size) override {
    obtainedSizes.push_back(size);
    if (buffersAvailable == 0) return nullptr;
    --buffersAvailable;
    return HostQuery::obtainBuffer(size);
  }
  std::uint32_t outOfMemoryCode() const override { return NO_MEMORY; }

 private:
  static Step next(const std::vector<Step>& script, std::size_t callNumber) {
    if (callNumber > script.size()) {
      ADD_FAILURE() << "call " << callNumber << " beyond the script";
      return {ERROR_INVALID_PARAMETER};
    }
    return script[callNumber - 1];
  }
};

class RecordingSink : public NoticeSink {
 public:
  std::vector<std::string> texts;
  void showOwnerlessMessage(const std::string& text, const std::string& caption) override {
    EXPECT_EQ(caption, "Arkelune");
    texts.push_back(text);
  }
};

std::string networkNotice(std::uint32_t code, const char* hex) {
  return std::string("Call to GetNetworkParams failed. Return Value: ") + hex + " " +
         std::strerror(static_cast<int>(code)) + "\n";
}

const std::string ADAPTERS_NOTICE = "Call to GetAdaptersInfo failed.";

const std::vector<HostAdapter> CONNECTED_THEN_DISCONNECTED = {
    {"192.168.1.20", "255.255.255.0", "192.168.1.1"},
    {"0.0.0.0", "0.0.0.0", ""},
};

class HostDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    resetBoxSettings(record);
    // A field that discovery leaves alone keeps this.
    for (char* field : {record.dns, record.hostIp, record.mask, record.gateway}) std::strcpy(field, "kept");
    setNoticeSink(&sink);
  }
  void TearDown() override { setNoticeSink(nullptr); }

  BoxSettingsRecord record{};
  RecordingSink sink;
  ScriptedHostQuery query;
};

TEST_F(HostDiscovery, BothQueriesSucceedWithoutNotice) {
  query.networkScript = {{0}, {0}};
  query.adapterScript = {{HOST_QUERY_BUFFER_TOO_SMALL}, {0}};
  query.adapters = {{"10.0.0.7", "255.0.0.0", "10.0.0.1"}};
  discoverHostNetwork(query, record);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_STREQ(record.dns, "10.1.2.3");
  EXPECT_STREQ(record.hostIp, "10.0.0.7");
  EXPECT_STREQ(record.mask, "255.0.0.0");
  EXPECT_STREQ(record.gateway, "10.0.0.1");
  // The adapter probe has no buffer and size 0; the retry gets the size asked.
  ASSERT_EQ(query.adapterCalls.size(), 2u);
  EXPECT_EQ(query.adapterCalls[0].buffer, nullptr);
  EXPECT_EQ(query.adapterCalls[0].size, 0u);
  EXPECT_NE(query.adapterCalls[1].buffer, nullptr);
  EXPECT_EQ(query.adapterCalls[1].size, sizeof(PackedAdapter));
}

struct NetworkCase {
  const char* name;
  std::vector<Step> script;
  std::string dnsServer;
  std::size_t buffersAvailable;
  std::vector<std::uint32_t> obtainedSizes;
  std::vector<std::uint32_t> callSizes;
  std::vector<std::string> notices;
  const char* dns;
  friend void PrintTo(const NetworkCase& c, std::ostream* out) { *out << c.name; }
};

class NetworkParamsQuery : public HostDiscovery, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkParamsQuery, AsksTwiceAndKeepsTheSecondAnswer) {
  const NetworkCase& c = GetParam();
  query.networkScript = c.script;
  query.dnsServer = c.dnsServer;
  query.buffersAvailable = c.buffersAvailable;
  query.adapterScript = {{0}};  // a success with nothing to list
  discoverHostNetwork(query, record);
  EXPECT_EQ(sink.texts, c.notices);
  EXPECT_STREQ(record.dns, c.dns);
  EXPECT_EQ(query.obtainedSizes, c.obtainedSizes);
  std::vector<std::uint32_t> callSizes;
  for (const Call& call : query.networkCalls) callSizes.push_back(call.size);
  EXPECT_EQ(callSizes, c.callSizes);
  if (c.script.size() == 2 && c.script[0].result != HOST_QUERY_BUFFER_TOO_SMALL) {
    ASSERT_EQ(query.networkCalls.size(), 2u);
    EXPECT_EQ(query.networkCalls[0].buffer, query.networkCalls[1].buffer) << "the same buffer, asked again";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkParamsQuery,
    ::testing::Values(
        NetworkCase{"SuccessAtOnceIsAskedAgain", {{0}, {0}}, "10.1.2.3", SIZE_MAX, {584}, {584, 584}, {}, "10.1.2.3"},
        NetworkCase{"TooSmallThenRetryInBufferOfReportedSize",
                    {{HOST_QUERY_BUFFER_TOO_SMALL, 2000}, {0}},
                    "10.1.2.3",
                    SIZE_MAX,
                    {584, 2000},
                    {584, 2000},
                    {},
                    "10.1.2.3"},
        NetworkCase{"NoDnsServerWritesEmptyText", {{0}, {0}}, "", SIZE_MAX, {584}, {584, 584}, {}, ""},
        NetworkCase{"Failure87",
                    {{ERROR_INVALID_PARAMETER}, {ERROR_INVALID_PARAMETER}},
                    "10.1.2.3",
                    SIZE_MAX,
                    {584},
                    {584, 584},
                    {networkNotice(87, "00000057")},
                    "kept"},
        NetworkCase{"OnlyTheSecondAnswerCounts",
                    {{0}, {ERROR_INVALID_PARAMETER}},
                    "10.1.2.3",
                    SIZE_MAX,
                    {584},
                    {584, 584},
                    {networkNotice(87, "00000057")},
                    "kept"},
        NetworkCase{"TooSmallTwiceFails",
                    {{HOST_QUERY_BUFFER_TOO_SMALL, 2000}, {HOST_QUERY_BUFFER_TOO_SMALL, 4000}},
                    "10.1.2.3",
                    SIZE_MAX,
                    {584, 2000},
                    {584, 2000},
                    {networkNotice(111, "0000006f")},
                    "kept"},
        NetworkCase{"NoBufferNoCall", {}, "10.1.2.3", 0, {584}, {}, {networkNotice(NO_MEMORY, "00000008")}, "kept"},
        NetworkCase{"NoSecondBuffer",
                    {{HOST_QUERY_BUFFER_TOO_SMALL, 2000}},
                    "10.1.2.3",
                    1,
                    {584, 2000},
                    {584},
                    {networkNotice(NO_MEMORY, "00000008")},
                    "kept"}),
    [](const ::testing::TestParamInfo<NetworkCase>& info) { return std::string(info.param.name); });

TEST_F(HostDiscovery, Failure87NoticeByteForByte) {
  query.networkScript = {{87}, {87}};
  query.adapterScript = {{0}};
  discoverHostNetwork(query, record);
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_EQ(sink.texts[0], "Call to GetNetworkParams failed. Return Value: 00000057 " + std::string(std::strerror(87)) + "\n");
}

struct AdapterCase {
  const char* name;
  std::vector<Step> script;
  std::vector<HostAdapter> adapters;
  std::size_t buffersAvailable;
  std::size_t calls;
  std::vector<std::string> notices;
  HostAdapter fields;  // hostIp, mask, gateway afterwards
  friend void PrintTo(const AdapterCase& c, std::ostream* out) { *out << c.name; }
};

class AdaptersQuery : public HostDiscovery, public ::testing::WithParamInterface<AdapterCase> {};

TEST_P(AdaptersQuery, LastAdapterWinsWhole) {
  const AdapterCase& c = GetParam();
  query.networkScript = {{0}, {0}};
  query.adapterScript = c.script;
  query.adapters = c.adapters;
  query.buffersAvailable = c.buffersAvailable;
  discoverHostNetwork(query, record);
  EXPECT_EQ(sink.texts, c.notices);
  EXPECT_EQ(query.adapterCalls.size(), c.calls);
  EXPECT_STREQ(record.hostIp, c.fields.address.c_str());
  EXPECT_STREQ(record.mask, c.fields.mask.c_str());
  EXPECT_STREQ(record.gateway, c.fields.gateway.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdaptersQuery,
    ::testing::Values(
        AdapterCase{"DisconnectedListedLastWins",
                    {{HOST_QUERY_BUFFER_TOO_SMALL}, {0}},
                    CONNECTED_THEN_DISCONNECTED,
                    SIZE_MAX,
                    2,
                    {},
                    {"0.0.0.0", "0.0.0.0", ""}},
        AdapterCase{"NoGatewayOnLastIsNotTakenFromEarlier",
                    {{HOST_QUERY_BUFFER_TOO_SMALL}, {0}},
                    {{"10.0.0.7", "255.0.0.0", "10.0.0.1"}, {"172.16.0.9", "255.255.0.0", ""}},
                    SIZE_MAX,
                    2,
                    {},
                    {"172.16.0.9", "255.255.0.0", ""}},
        AdapterCase{"NoAdapter",
                    {{ERROR_NO_DATA}},
                    {},
                    SIZE_MAX,
                    1,
                    {ADAPTERS_NOTICE},
                    {"kept", "kept", "kept"}},
        AdapterCase{"RetryStillTooSmall",
                    {{HOST_QUERY_BUFFER_TOO_SMALL}, {HOST_QUERY_BUFFER_TOO_SMALL}},
                    CONNECTED_THEN_DISCONNECTED,
                    SIZE_MAX,
                    2,
                    {ADAPTERS_NOTICE},
                    {"kept", "kept", "kept"}},
        AdapterCase{"NoBuffer",
                    {{HOST_QUERY_BUFFER_TOO_SMALL}},
                    CONNECTED_THEN_DISCONNECTED,
                    1,  // the network query's
                    1,
                    {ADAPTERS_NOTICE},
                    {"kept", "kept", "kept"}},
        AdapterCase{"SuccessWithoutBufferWritesNothing", {{0}}, {}, SIZE_MAX, 1, {}, {"kept", "kept", "kept"}}),
    [](const ::testing::TestParamInfo<AdapterCase>& info) { return std::string(info.param.name); });

TEST_F(HostDiscovery, BothFailNetworkNoticeFirst) {
  query.networkScript = {{ERROR_INVALID_PARAMETER}, {ERROR_INVALID_PARAMETER}};
  query.adapterScript = {{ERROR_NO_DATA}};
  discoverHostNetwork(query, record);
  EXPECT_EQ(sink.texts, (std::vector<std::string>{networkNotice(87, "00000057"), ADAPTERS_NOTICE}));
  for (const char* field : {record.dns, record.hostIp, record.mask, record.gateway}) EXPECT_STREQ(field, "kept");
}

}  // namespace
