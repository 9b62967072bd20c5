// Files around the in-memory core: a score is read whole, the output put in place whole.
#include <filesystem>
#include <fstream>
#include <random>

#include "bivox/bivox.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;

// Paths are UTF-8 everywhere; on Windows they are handed to the system as wide characters.
fs::path path_of(const std::string& utf8) {
#ifdef _WIN32
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
  return fs::path(utf8);
#endif
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec) && !ec;
}

}  // namespace

// The file written beside the destination under a name of its own.
struct OutputFile::Temporary {
  explicit Temporary(const std::string& path) : path_(path), target_(path_of(path)) {
    std::error_code ec;
    if (fs::is_symlink(target_, ec)) target_ = fs::weakly_canonical(target_, ec);
    if (fs::is_directory(target_, ec))
      throw FileError(path_, FileError::Problem::unwritable, "is a directory");
    // An existing file that may not be written is not replaced either.
    if (fs::exists(target_, ec) && !std::ofstream(target_, std::ios::binary | std::ios::app)) {
      throw FileError(path_, FileError::Problem::unwritable, "cannot be opened for writing");
    }
    std::random_device entropy;
    for (int attempt = 0; attempt < 16 && !out_.is_open(); ++attempt) {
      temp_ = target_;
      temp_ += ".bivox-" + std::to_string(entropy()) + ".tmp";
      if (fs::exists(temp_, ec)) continue;
      out_.open(temp_, std::ios::binary | std::ios::trunc);
    }
    if (!out_.is_open())
      throw FileError(path_, FileError::Problem::unwritable, "cannot be opened for writing");
  }
  ~Temporary() {
    if (temp_.empty()) return;
    out_.close();
    std::error_code ec;
    fs::remove(temp_, ec);
  }
  void commit(std::string_view bytes) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.close();
    if (!out_) throw FileError(path_, FileError::Problem::unwritable, "cannot be written");
    std::error_code ec;
    const fs::perms kept = fs::status(target_, ec).permissions();
    if (!ec) fs::permissions(temp_, kept, ec);
    fs::rename(temp_, target_, ec);
    if (ec) throw FileError(path_, FileError::Problem::unwritable, "cannot be written");
    temp_.clear();
  }

  std::string path_;
  fs::path target_;
  fs::path temp_;
  std::ofstream out_;
};

OutputFile::OutputFile(const std::string& path) : temp_(std::make_unique<Temporary>(path)) {}
OutputFile::~OutputFile() = default;

void OutputFile::commit(std::string_view bytes) {
  temp_->commit(bytes);
}

std::string read_file(const std::string& path) {
  const fs::path file = path_of(path);
  std::error_code ec;
  if (fs::is_directory(file, ec))
    throw FileError(path, FileError::Problem::unreadable, "is a directory");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw FileError(path, FileError::Problem::unreadable, "cannot be opened for reading");
  std::string bytes;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (!ec) bytes.reserve(static_cast<std::size_t>(size));
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) throw FileError(path, FileError::Problem::unreadable, "cannot be read");
  return bytes;
}

void write_file(const std::string& path, std::string_view bytes) {
  OutputFile(path).commit(bytes);
}

void refuse_writing_over(const std::string& input, const std::string& output) {
  if (same_file(path_of(input), path_of(output))) {
    throw FileError(output, FileError::Problem::output_is_input,
                    "is the input itself; refusing to write over it");
  }
}

JobResult run_file(Session& session, Job job, const std::string& path, const JobOptions& options) {
  JobOptions named = options;
  if (named.output_name.empty()) named.output_name = make_output_name(path, named.name_encoding);
  refuse_writing_over(path, named.output_name);
  const std::string score = read_file(path);
  OutputFile output(named.output_name);
  JobResult result = session.run(job, score, path, named);
  output.commit(result.output);
  return result;
}

}  // namespace bivox
