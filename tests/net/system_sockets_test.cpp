// The system's socket layer outlives the end of the process: a worker that
// is still closing its sockets while static objects are destroyed (the
// process ends without waiting for it) never calls into a destroyed object.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/net/socket_api.h"

namespace {

TEST(SystemSocketsDeathTest, StayUsableWhileStaticObjectsAreDestroyed) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: nothing built before the handler
  EXPECT_EXIT(
      {
        // Registered first, so it runs after the destructors of whatever is built later.
        std::atexit([] {
          net::systemSockets().closeSocket(net::kInvalidSocket);
          std::_Exit(3);
        });
        net::systemSockets();
        std::exit(0);
      },
      testing::ExitedWithCode(3), "");
}

}  // namespace
