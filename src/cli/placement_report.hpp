#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "bivox/bivox.hpp"

namespace bivox::cli {

// Per track of a stereo conversion: lowest and highest pitch, placed or left alone, and the
// pan values its notes received, as an aligned table followed by the stereo options (when
// they are not the defaults) and the centre and scale.
void print_placement(std::ostream& out, const Placement& placement);
nlohmann::json placement_json(const Placement& placement);

}  // namespace bivox::cli
