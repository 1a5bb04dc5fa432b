// An ordered list that owns its items: Add appends an item with its defaults, Clear frees them last first.
#pragma once
#include <memory>
#include <vector>

namespace qv {

template <class T> class TOwnedList {
public:
  TOwnedList() = default;
  TOwnedList(const TOwnedList&) = delete;
  TOwnedList& operator=(const TOwnedList&) = delete;
  ~TOwnedList() { Clear(); }

  T& Add() {
    Items_.push_back(std::make_unique<T>());
    return *Items_.back();
  }
  int Count() const { return static_cast<int>(Items_.size()); }
  T& Items(int index) { return *Items_.at(static_cast<size_t>(index)); }
  const T& Items(int index) const { return *Items_.at(static_cast<size_t>(index)); }
  T& Last() { return *Items_.back(); }
  const T& Last() const { return *Items_.back(); }
  void Clear() {
    while (!Items_.empty()) Items_.pop_back();
  }
  void Delete(int index) { Items_.erase(Items_.begin() + index); }

  auto begin() { return Items_.begin(); }
  auto end() { return Items_.end(); }
  auto begin() const { return Items_.begin(); }
  auto end() const { return Items_.end(); }

protected:
  std::vector<std::unique_ptr<T>> Items_;
};

}  // namespace qv
