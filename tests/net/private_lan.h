#pragma once
// Base of every test that may broadcast: it runs only inside a network
// namespace made for the test, never on the machine's own network.
#include <gtest/gtest.h>

#include <cstdlib>

class PrivateNetworkTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system(NESTIQ_NETNS_DIR "/in-private-netns"), 0)
        << "refusing to broadcast outside a private network namespace; run through ctest (on-private-net)";
  }
};
