// An error that ends a load: the operating system could not read the file, or a reader met records
// it cannot place. What was read before it is kept.
#pragma once
#include <stdexcept>

namespace qv {

class TReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

}  // namespace qv
