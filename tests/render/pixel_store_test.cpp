#include "render/pixel_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PixelStoreTest, LentPixelsLiveElsewhereUntilTheyComeBackWithWhatWasDrawn) {
  PixelStore store(4, 7);
  std::vector<uint32_t> place(4, 0), other(4, 0);
  store.LendTo(place.data());
  EXPECT_EQ(place, (std::vector<uint32_t>{7, 7, 7, 7}));  // takes what they were
  store[1] = 9;
  EXPECT_EQ(place[1], 9u);  // drawn there
  store.LendTo(other.data());  // from one place to another
  EXPECT_EQ(other, (std::vector<uint32_t>{7, 9, 7, 7}));

  const PixelStore copy = store;  // a copy owns its pixels
  store[0] = 1;
  EXPECT_EQ(copy, (std::vector<uint32_t>{7, 9, 7, 7}));

  store.LendTo(nullptr);  // back into its own memory, as drawn
  other[2] = 5;
  EXPECT_EQ(store, (std::vector<uint32_t>{1, 9, 7, 7}));
  store.LendTo(other.data());
  store.assign(2, 3);  // another size: its own memory again
  EXPECT_NE(store.data(), other.data());
  EXPECT_EQ(store, (std::vector<uint32_t>{3, 3}));
}

}  // namespace
