#pragma once

#include <cstddef>
#include <istream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace bivox::lsp {

// One read from the stream: a message's body, a header block that gave no body (what was
// wrong with it), or the end of the input.
struct Incoming {
  enum class Kind { message, bad_header, end };
  Kind kind = Kind::end;
  std::string body;
};

// Reads the messages of the Language Server Protocol's base protocol: header lines ended by
// CR LF (a bare LF is accepted too), a blank line, then Content-Length bytes of body.
class MessageReader {
 public:
  // Longer bodies are refused: the header is reported and its body read as the next header.
  static constexpr std::size_t kLongestBody = std::size_t{1} << 30;

  explicit MessageReader(std::istream& in) : in_(in) {}
  // The next message. A header block without a usable Content-Length is reported and
  // passed over, so that the reader goes on with the header block after it.
  Incoming next();

 private:
  std::istream& in_;
};

// The body with its header, as it goes on the stream.
std::string framed(std::string_view body);

// Writes whole messages; any thread may send.
class MessageWriter {
 public:
  explicit MessageWriter(std::ostream& out) : out_(out) {}
  void send(const nlohmann::json& message);

 private:
  std::mutex mutex_;
  std::ostream& out_;
};

}  // namespace bivox::lsp
