#include "jobs/output_name.hpp"

#include "text/encoding.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

constexpr std::string_view kExtension = ".zrb";

// The name cut at its score extension, with the extension written in lower case.
std::string with_extension(std::string_view name) {
  const long at = find_extension(name, kExtension);
  std::string out(at < 0 ? name : name.substr(0, static_cast<std::size_t>(at)));
  out += kExtension;
  return out;
}

// The drive of a drive-relative Windows name ("C:" of "C:song.zrb"), which names the file
// in that drive's current folder; elsewhere such a name is a file name like any other.
std::size_t drive_length(std::string_view path) {
#ifdef _WIN32
  const bool letter =
      !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (letter && path.size() >= 2 && path[1] == ':') return 2;
#else
  (void)path;
#endif
  return 0;
}

}  // namespace

long find_text(std::string_view text, std::string_view pattern) {
  if (pattern.empty() || pattern.size() > text.size()) return -1;
  const auto at = text.find(pattern);
  return at == std::string_view::npos ? -1 : static_cast<long>(at);
}

long find_extension(std::string_view text, std::string_view pattern) {
  const long at = find_text(text, pattern);
  if (at >= 0) return at;
  std::string upper(pattern);
  for (char& c : upper) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x61 && u <= 0x7F) c = static_cast<char>(u - 0x20);
  }
  return find_text(text, upper);
}

SplitPath split_path(std::string_view path, NameEncoding encoding) {
  SplitPath split;
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (encoding == NameEncoding::cp932 && is_cp932_lead(c)) {
      ++i;  // the second byte is never a separator
    } else if (c == '\\' || c == '/') {
      last = i;
    }
  }
  if (last == std::string_view::npos) {
    split.name = path;
    return split;
  }
  split.directory = std::string(path.substr(0, last));
  split.name = path.substr(last + 1);
  split.separator = path[last];
  return split;
}

std::string make_output_name(std::string_view input, NameEncoding encoding) {
  if (find_extension(input, kExtension) < 0) return std::string(msg::kNoOutputName);
  const SplitPath split = split_path(input, encoding);
  if (!split.directory) {
    const std::size_t drive = drive_length(input);
    return std::string(input.substr(0, drive)) + "_" + with_extension(input.substr(drive));
  }
  return *split.directory + split.separator + "_" + with_extension(split.name);
}

}  // namespace bivox
