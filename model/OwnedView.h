// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list of owned records seen as the records themselves: a range over a vector of
// unique_ptr that yields T& (or const T&), so a caller can walk and change the records but not
// the list that holds them.
#include <cstddef>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

namespace vork {

template <typename T> class OwnedView {
    using Owners = std::vector<std::unique_ptr<std::remove_const_t<T>>>;
    using Position = typename Owners::const_iterator;

  public:
    class iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<T>;
        using difference_type = std::ptrdiff_t;
        using pointer = T*;
        using reference = T&;

        iterator() = default;
        explicit iterator(Position at) : at_(at) {}
        T& operator*() const { return **at_; }
        T* operator->() const { return at_->get(); }
        iterator& operator++() {
            ++at_;
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++at_;
            return before;
        }
        bool operator==(const iterator&) const = default;

      private:
        Position at_{};
    };

    explicit OwnedView(const Owners& owners) : begin_(owners.begin()), end_(owners.end()) {}
    iterator begin() const { return begin_; }
    iterator end() const { return end_; }

  private:
    iterator begin_, end_;
};

} // namespace vork
