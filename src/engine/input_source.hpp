#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bivox {

using Position = std::int64_t;

// The score being parsed, held in memory and read the way a text-mode file reads: a CR LF
// pair is delivered as one line feed, a 0x1A byte ends the data, and positions count the
// bytes as stored, so that the end position is the file's full length.
class InputSource {
 public:
  static constexpr int kEnd = -1;

  // Reads the bytes, which must stay unchanged and alive until close.
  void open(std::string_view bytes);
  void close();

  // The next byte (0..255), or kEnd when no data is left.
  int read_char() {
    last_ = pos_;
    if (pos_ >= data_end_) return kEnd;
    const auto c = static_cast<unsigned char>(bytes_[static_cast<std::size_t>(pos_++)]);
    if (c == '\r' && pos_ < data_end_ && bytes_[static_cast<std::size_t>(pos_)] == '\n') {
      ++pos_;
      return '\n';
    }
    return c;
  }
  // The character that a read at `p` would deliver, without reading.
  int char_at(Position p) const {
    if (p >= data_end_) return kEnd;
    const auto c = static_cast<unsigned char>(bytes_[static_cast<std::size_t>(p)]);
    if (c == '\r' && p + 1 < data_end_ && bytes_[static_cast<std::size_t>(p + 1)] == '\n') {
      return '\n';
    }
    return c;
  }
  // Takes back the character that the last read delivered.
  void step_back() { pos_ = last_; }
  Position tell_pos() const { return pos_; }
  void seek_pos(Position p) { pos_ = p; }
  void seek_end() { pos_ = static_cast<Position>(bytes_.size()); }
  // The bytes as stored, up to the end of the data. Scanners that compare literals without
  // line ends may read them directly: such a literal matches a stored byte exactly where it
  // matches what a read there would deliver.
  std::string_view stored() const { return {bytes_.data(), static_cast<std::size_t>(data_end_)}; }

  // Where the spacing that begins at `from` ends, if a skip from there was remembered.
  // Spacing depends on the bytes alone, so one skip serves every terminal that starts at
  // the same place; opening another input forgets it.
  bool recall_spacing(Position from, Position& to) const {
    if (from != spacing_from_) return false;
    to = spacing_to_;
    return true;
  }
  void remember_spacing(Position from, Position to) {
    spacing_from_ = from;
    spacing_to_ = to;
  }

 private:
  std::string_view bytes_;
  Position data_end_ = 0;
  Position pos_ = 0;
  Position last_ = 0;
  Position spacing_from_ = -1;
  Position spacing_to_ = 0;
};

}  // namespace bivox
