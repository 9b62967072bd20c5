// Writes a generated score to standard output, for profiling the command-line tool:
//   bivox-scoregen BYTES [SEED]      a score of about BYTES bytes
//   bivox-scoregen --nested DEPTH    groups nested DEPTH deep (tuplets and macro bodies)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "score_generator.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bivox-scoregen BYTES [SEED] | --nested DEPTH\n", stderr);
    return 2;
  }
  std::string score;
  if (std::string_view(argv[1]) == "--nested" && argc > 2) {
    score = bivox::bench::generate_nested_score(std::atoi(argv[2]));
  } else {
    const auto seed =
        argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 1U;
    score = bivox::bench::generate_score(std::strtoull(argv[1], nullptr, 10), seed);
  }
#ifdef _WIN32
  // The score's bytes as they are: no CR before each line feed.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::fwrite(score.data(), 1, score.size(), stdout);
  return 0;
}
