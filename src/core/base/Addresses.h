#pragma once
#include <array>
#include <cstddef>

namespace vq {

// The address of each element, as the port type it is handed on as: one socket per account
// becomes the array of Socket pointers the mail check takes.
template <class Port, class T, std::size_t N>
std::array<Port*, N> AddressesOf(std::array<T, N>& items) {
  std::array<Port*, N> addresses{};
  for (std::size_t i = 0; i < N; ++i) addresses[i] = &items[i];
  return addresses;
}

}  // namespace vq
