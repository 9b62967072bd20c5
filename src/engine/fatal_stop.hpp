#pragma once

#include <stdexcept>
#include <string>

namespace bivox {

// A resource limit was met. The message (ending in "!!!\n") goes into the output file of
// the running pass after whatever was written there; the job then ends with exit status 1.
// The pass runner catches it, so the library never ends the process itself.
class FatalStop : public std::runtime_error {
 public:
  explicit FatalStop(std::string message)
      : std::runtime_error(message), message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

}  // namespace bivox
