#include "cli/utf8_process.hpp"

namespace bivox::cli {

struct Utf8Process::Consoles {};

Utf8Process::Utf8Process(int argc, char** argv) : args_(argv, argv + argc) {
  for (const std::string& arg : args_) pointers_.push_back(arg.c_str());
}

Utf8Process::~Utf8Process() = default;

}  // namespace bivox::cli
