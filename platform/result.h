// SPDX-License-Identifier: GPL-2.0-or-later
// How a call across a seam fails: a value, or a failure with the system's
// number for it (errno, a Windows error code; 0 where there is none) and a
// text for people. Every seam of the program answers in this one shape.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace platform {

struct Failure {
  int code = 0;
  std::string text;
};

template <typename T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  [[nodiscard]] bool Ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return Ok(); }

  // Only when Ok().
  [[nodiscard]] T& Value() { return std::get<T>(state_); }
  [[nodiscard]] const T& Value() const { return std::get<T>(state_); }
  T& operator*() { return Value(); }
  const T& operator*() const { return Value(); }
  T* operator->() { return &Value(); }
  const T* operator->() const { return &Value(); }

  // Only when !Ok().
  [[nodiscard]] const Failure& Error() const { return std::get<Failure>(state_); }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace platform
