#include "cli/score_file.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "text/encoding.hpp"

namespace bivox::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// A directory of its own under the system's temporary directory, removed with its files.
class PrivateTempDir {
 public:
  PrivateTempDir() {
    std::random_device entropy;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "bivox-%08x", static_cast<unsigned>(entropy()));
      std::error_code ec;
      if (fs::create_directory(base / name, ec)) {
        path_ = base / name;
        fs::permissions(path_, fs::perms::owner_all, ec);
        return;
      }
    }
    throw FileError(base.string(), FileError::Problem::unwritable,
                    "has no room for a temporary directory");
  }
  ~PrivateTempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  PrivateTempDir(const PrivateTempDir&) = delete;
  PrivateTempDir& operator=(const PrivateTempDir&) = delete;
  std::string file(const char* name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

void write_bytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
  if (!out) throw FileError(path, FileError::Problem::unwritable, "cannot be opened for writing");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw FileError(path, FileError::Problem::unwritable, "cannot be written");
}

std::string score_as_cp932(const std::string& path, std::string utf8) {
  if (utf8.starts_with(kByteOrderMark)) utf8.erase(0, kByteOrderMark.size());
  std::size_t bad = 0;
  std::optional<std::string> cp932 = utf8_to_cp932(utf8, &bad);
  if (cp932) return *std::move(cp932);
  const std::optional<Utf8Char> c = utf8_char_at(utf8, bad);
  char what[96];
  if (c) {
    std::snprintf(what, sizeof what, "the character U+%04X has no Shift-JIS (cp932) form",
                  static_cast<unsigned>(c->code));
  } else {
    std::snprintf(what, sizeof what, "the byte 0x%02X is not UTF-8",
                  static_cast<unsigned>(static_cast<unsigned char>(utf8[bad])));
  }
  throw EncodingError(path, FileError::Problem::unreadable, what, locate_utf8(utf8, bad));
}

std::string rebuilt_as_utf8(const std::string& path, std::string_view cp932) {
  std::string utf8 = cp932_to_utf8(cp932);
  const std::size_t bad = utf8.find(kReplacement);
  if (bad == std::string::npos) return utf8;
  throw EncodingError(path, FileError::Problem::unwritable,
                      "the rebuilt score holds a byte that is no Shift-JIS character",
                      locate_utf8(utf8, bad));
}

ScoreRun run_utf8(Session& session, Job job, const std::string& input, const std::string& output) {
  refuse_writing_over_input(input, output);
  const std::string score = score_as_cp932(input, read_score(input));
  const PrivateTempDir temp;
  const std::string temp_input = temp.file("score.zrb");
  const std::string temp_output = temp.file("_score.zrb");
  write_bytes(temp_input, score);
  ScoreRun run{run_job(session, job, temp_input, temp_output), SourceText(score)};
  run.result.input = input;
  run.result.output = output;
  write_bytes(output, rebuilt_as_utf8(output, read_score(temp_output)));
  return run;
}

}  // namespace

ScoreRun run_score_file(Session& session, Job job, const std::string& input,
                        const std::string& output, ScoreEncoding encoding) {
  if (encoding == ScoreEncoding::utf8) return run_utf8(session, job, input, output);
  ScoreRun run{run_job(session, job, input, output), std::nullopt};
  try {
    run.source.emplace(read_score(input));
  } catch (const FileError&) {
    // The score went away after the job: its messages are shown without locations.
  }
  return run;
}

}  // namespace bivox::cli
