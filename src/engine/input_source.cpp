#include "engine/input_source.hpp"

namespace bivox {

void InputSource::open(std::string_view bytes) {
  bytes_ = bytes;
  const auto eof = bytes_.find('\x1a');
  data_end_ = static_cast<Position>(eof == std::string::npos ? bytes_.size() : eof);
  pos_ = last_ = 0;
  spacing_from_ = -1;
}

void InputSource::close() {
  bytes_ = {};
  data_end_ = pos_ = last_ = 0;
  spacing_from_ = -1;
}

}  // namespace bivox
