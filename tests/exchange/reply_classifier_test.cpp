#include "exchange/reply_classifier.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReplyCase {
  std::string bytes;  // may hold zero bytes
  ExchangeStatus expected;
};

class ClassifyReply : public testing::TestWithParam<ReplyCase> {};

TEST_P(ClassifyReply, GivesTheStatus) {
  EXPECT_EQ(classifyReply(GetParam().bytes.c_str()), GetParam().expected);
}

using namespace std::string_literals;
INSTANTIATE_TEST_SUITE_P(
    Table, ClassifyReply,
    testing::Values(ReplyCase{"CONFIG_OK", StatusConfigured}, ReplyCase{"CONFIG_BAD_DNS", StatusBadDns},
                    ReplyCase{"CONFIG_BAD_GATEWAY", StatusBadGateway}, ReplyCase{"CONFIG_BAD_LICENCE", StatusBadLicence},
                    ReplyCase{"CONFIG_BAD_FIREWALL", StatusFirewallBlocked},
                    ReplyCase{"CONFIG_BAD_USER", StatusAuthFailed},
                    // Anything else, exactly as it arrives.
                    ReplyCase{"", StatusSettingsRejected}, ReplyCase{"CONFIG_OK\r\n", StatusSettingsRejected},
                    ReplyCase{"CONFIG_OK\n", StatusSettingsRejected}, ReplyCase{"config_ok", StatusSettingsRejected},
                    ReplyCase{" CONFIG_OK", StatusSettingsRejected}, ReplyCase{"CONFIG_O", StatusSettingsRejected},
                    ReplyCase{"CONFIG_BAD", StatusSettingsRejected}, ReplyCase{"CONFIG_OKAY", StatusSettingsRejected},
                    ReplyCase{"CONFIG_TIMEOUT", StatusSettingsRejected},
                    ReplyCase{"CONFIG_OK\0garbage"s, StatusConfigured},
                    ReplyCase{"CONFIG_BAD_USER\0\0"s, StatusAuthFailed}));

TEST(ClassifyReplyNever, GivesTheTimeOut) {
  for (const char* r : {"CONFIG_TIMEOUT", "35", "CONFIG_BAD_TIME", "TIMEOUT"}) EXPECT_NE(classifyReply(r), StatusTimedOut);
  EXPECT_EQ(classifyReply(nullptr), StatusSettingsRejected);
}

}  // namespace
