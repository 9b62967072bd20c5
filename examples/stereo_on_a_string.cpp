// The stereo conversion of a score held in a string, through the core's public header.
#include <bivox/bivox.hpp>
#include <iostream>

int main() {
  bivox::Session session;
  const bivox::JobResult r =
      session.run(bivox::Job::stereo, "%1\n#A0 o4 d4 m4 s4 o5 d4\n", "song.zrb");
  std::cout << r.output_name << (r.complete() ? ": complete\n" : ": stopped early\n")
            << bivox::to_utf8(r.output);
  for (const bivox::TrackPlacement& t : r.placement.tracks)
    std::cout << t.letter << ": " << bivox::pitch_name(t.lowest_pitch) << ".."
              << bivox::pitch_name(t.highest_pitch) << " -> pan " << t.lowest_pan << ".."
              << t.highest_pan << '\n';
}
