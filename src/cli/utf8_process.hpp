#pragma once

#include <memory>
#include <string>
#include <vector>

namespace bivox::cli {

// The command line as UTF-8, and standard output and error set up for UTF-8 text, for the
// life of the object. On Windows the arguments come from the wide command line (any file
// name, Japanese ones too), a console is written in wide characters so that Japanese shows,
// and pipes and files receive the UTF-8 bytes as they are, line feeds unchanged. Elsewhere
// the arguments and streams are UTF-8 already.
class Utf8Process {
 public:
  Utf8Process(int argc, char** argv);
  ~Utf8Process();
  Utf8Process(const Utf8Process&) = delete;
  Utf8Process& operator=(const Utf8Process&) = delete;

  int argc() const { return static_cast<int>(pointers_.size()); }
  const char* const* argv() const { return pointers_.data(); }

 private:
  std::vector<std::string> args_;
  std::vector<const char*> pointers_;
  struct Consoles;
  std::unique_ptr<Consoles> consoles_;
};

}  // namespace bivox::cli
