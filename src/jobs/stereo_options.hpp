#pragma once

#include "bivox/bivox.hpp"

namespace bivox {

// Throws std::invalid_argument when the options hold a value their parses would refuse:
// a pan end beyond ±64 or both ends equal, a pitch range upside down or beyond ±1000, a
// letter that is no track.
void check_stereo_options(const StereoOptions& options);

}  // namespace bivox
