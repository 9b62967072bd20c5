#include "cli/lsp/framing.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace bivox::lsp {
namespace {

constexpr std::string_view kContentLength = "content-length";

bool same_ignoring_case(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The body length a Content-Length header line gives; nothing for other header lines.
// `valid` turns false when the line is a Content-Length without a usable number.
std::optional<std::size_t> content_length(std::string_view line, bool& valid) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos ||
      !same_ignoring_case(trimmed(line.substr(0, colon)), kContentLength)) {
    return std::nullopt;
  }
  const std::string_view value = trimmed(line.substr(colon + 1));
  std::size_t length = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
  valid = error == std::errc() && end == value.data() + value.size() && !value.empty() &&
          length <= MessageReader::kLongestBody;
  return length;
}

}  // namespace

Incoming MessageReader::next() {
  std::optional<std::size_t> length;
  bool valid = true;
  bool any_header = false;
  std::string line;
  while (std::getline(in_, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      // Blank lines before a header block are passed over.
      if (!any_header) continue;
      if (!valid) return {Incoming::Kind::bad_header, "Content-Length is no usable number"};
      if (!length) return {Incoming::Kind::bad_header, "no Content-Length header"};
      std::string body(*length, '\0');
      if (!in_.read(body.data(), static_cast<std::streamsize>(body.size()))) return {};
      return {Incoming::Kind::message, std::move(body)};
    }
    any_header = true;
    if (const std::optional<std::size_t> given = content_length(line, valid)) length = given;
  }
  return {};
}

std::string framed(std::string_view body) {
  std::string message = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  message += body;
  return message;
}

void MessageWriter::send(const nlohmann::json& message) {
  // Texts of the score that are no UTF-8 are sent with replacement characters rather than
  // ending the server.
  const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  const std::lock_guard lock(mutex_);
  out_ << framed(body) << std::flush;
}

}  // namespace bivox::lsp
