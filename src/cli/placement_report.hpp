#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "jobs/job_driver.hpp"

namespace bivox::cli {

// A pitch as a note name and the octave that the score's "o" command gives it ("C4" is 48).
std::string pitch_name(int pitch);

// Per track of a stereo conversion: lowest and highest pitch, placed or left alone, and the
// pan values its notes received, as an aligned table followed by the centre and scale.
void print_placement(std::ostream& out, const JobResult& result);
nlohmann::json placement_json(const JobResult& result);

}  // namespace bivox::cli
