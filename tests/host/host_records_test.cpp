#include "platform/host/host_records.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PackAdapters, SizeHandshakeAndChainInListOrder) {
  const std::vector<HostAdapter> adapters = {{"10.0.0.7", "255.0.0.0", "10.0.0.1"},
                                             {"0.0.0.0", "0.0.0.0", "a text far too long"}};
  std::uint32_t size = 0;
  EXPECT_EQ(packAdapters(adapters, nullptr, size, 232), HOST_QUERY_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, 2 * sizeof(PackedAdapter));

  const std::uint32_t needed = size;
  HostQueryBuffer buffer(new std::byte[needed]);
  size = needed - 1;
  EXPECT_EQ(packAdapters(adapters, buffer.get(), size, 232), HOST_QUERY_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, needed);

  ASSERT_EQ(packAdapters(adapters, buffer.get(), size, 232), HOST_QUERY_OK);
  std::vector<std::string> seen;
  for (const HostAdapterEntry* e = packedFirstAdapter(buffer.get()); e; e = packedNextAdapter(e)) {
    const HostAdapterTexts t = packedAdapterTexts(e);
    seen.push_back(std::string(t.address) + "|" + t.mask + "|" + t.gateway);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"10.0.0.7|255.0.0.0|10.0.0.1", "0.0.0.0|0.0.0.0|a text far too "}));

  EXPECT_EQ(packAdapters({}, buffer.get(), size, 232), 232u) << "no adapter is a failure";
}

}  // namespace
