// Runs a clean-up when the scope ends, also when it ends by an exception. Portable, for every
// layer.
#pragma once
#include <utility>

namespace orv {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F cleanUp) : cleanUp_(std::move(cleanUp)) {}
  ~ScopeExit() { cleanUp_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F cleanUp_;
};

}  // namespace orv
