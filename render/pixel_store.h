// The pixels of a surface: in its own memory, or in memory lent to it for a
// while (the image the window server reads, so that what is drawn need not
// be copied there again). A copy of a store always has memory of its own,
// and so has a store given other pixels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class PixelStore {
 public:
  using value_type = uint32_t;
  using iterator = uint32_t*;
  using const_iterator = const uint32_t*;

  explicit PixelStore(size_t count = 0, uint32_t value = 0)
      : own_(count, value), at_(own_.data()), count_(count) {}
  PixelStore(const PixelStore& o) : own_(o.begin(), o.end()), at_(own_.data()), count_(o.size()) {}
  PixelStore& operator=(const PixelStore& o) {
    if (this == &o) return *this;
    own_.assign(o.begin(), o.end());
    at_ = own_.data();
    count_ = o.size();
    return *this;
  }

  // From now on the pixels live at `place` (size() of them), which takes
  // what they are now; null brings them back into the store's own memory.
  // The place must outlive its loan.
  void LendTo(uint32_t* place) {
    if (place == at_ || (!place && at_ == own_.data())) return;
    if (!place) {
      own_.assign(begin(), end());
      at_ = own_.data();
      return;
    }
    std::copy(begin(), end(), place);
    own_ = {};  // the own memory is not needed while the loan lasts
    at_ = place;
  }

  // Refills the store with `count` pixels of `value` (in its own memory
  // when the size changes).
  void assign(size_t count, uint32_t value) {
    if (count != size()) {
      own_.assign(count, value);
      at_ = own_.data();
      count_ = count;
      return;
    }
    std::fill(begin(), end(), value);
  }

  uint32_t* data() { return at_; }
  const uint32_t* data() const { return at_; }
  size_t size() const { return count_; }
  uint32_t& operator[](size_t i) { return at_[i]; }
  const uint32_t& operator[](size_t i) const { return at_[i]; }
  iterator begin() { return at_; }
  iterator end() { return at_ + count_; }
  const_iterator begin() const { return at_; }
  const_iterator end() const { return at_ + count_; }

  friend bool operator==(const PixelStore& a, const PixelStore& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const PixelStore& a, const std::vector<uint32_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  operator std::vector<uint32_t>() const { return {begin(), end()}; }

 private:
  std::vector<uint32_t> own_;
  uint32_t* at_;
  size_t count_;
};
