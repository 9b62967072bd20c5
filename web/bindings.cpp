// The core's jobs for JavaScript (embind): a session that runs a job over a score's bytes
// and gives a plain object with the output bytes, positions with their lines and columns,
// texts decoded from cp932, and the placement of a stereo conversion with its options and
// the core's stereo map. web/bivox.js wraps it as the module's API.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <variant>

#include "bivox/bivox.hpp"

namespace {

using emscripten::val;

// A copy of the bytes that belongs to JavaScript, not a view of the module's memory.
val byte_array(std::string_view bytes) {
  const val view(emscripten::typed_memory_view(
      bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
  return view.call<val>("slice");
}

val location(const bivox::ScoreText& score, bivox::Position position) {
  const bivox::TextLocation place = score.locate(position);
  val v = val::object();
  v.set("position", static_cast<double>(position));
  v.set("line", place.line);
  v.set("column", place.column);
  v.set("sourceLine", place.source_line);
  return v;
}

val diagnostics(const bivox::ScoreText& score, const bivox::JobResult& r) {
  val list = val::array();
  for (const bivox::Diagnostic& d : r.diagnostics) {
    val v = location(score, d.position);
    v.set("text", bivox::to_utf8(d.text));
    list.call<void>("push", v);
  }
  return list;
}

val track(const bivox::TrackPlacement& t) {
  val v = val::object();
  v.set("letter", std::string(1, t.letter));
  v.set("kind", std::string(bivox::placement_name(t.kind)));
  v.set("notes", t.notes);
  v.set("placed", t.placed);
  v.set("lowestPitch", t.lowest_pitch);
  v.set("highestPitch", t.highest_pitch);
  v.set("lowestNote", bivox::pitch_name(t.lowest_pitch));
  v.set("highestNote", bivox::pitch_name(t.highest_pitch));
  v.set("lowestPan", t.placed > 0 ? val(t.lowest_pan) : val::null());
  v.set("highestPan", t.placed > 0 ? val(t.highest_pan) : val::null());
  return v;
}

val pitch_range(const std::optional<bivox::PitchRange>& range) {
  if (!range) return val::null();
  val v = val::object();
  v.set("lowest", range->lowest);
  v.set("highest", range->highest);
  v.set("lowestNote", bivox::pitch_name(range->lowest));
  v.set("highestNote", bivox::pitch_name(range->highest));
  return v;
}

val stereo_options(const bivox::StereoOptions& o) {
  val pan = val::array();
  pan.call<void>("push", o.pan_left);
  pan.call<void>("push", o.pan_right);
  val v = val::object();
  v.set("panRange", pan);
  v.set("pitchRange", pitch_range(o.pitch_range));
  v.set("leave", o.leave);
  return v;
}

val placement(const bivox::Placement& p) {
  val tracks = val::array();
  for (const bivox::TrackPlacement& t : p.tracks) tracks.call<void>("push", track(t));
  val v = val::object();
  v.set("options", stereo_options(p.options));
  v.set("centre", p.centre);
  v.set("scale", p.scale);
  v.set("tracks", tracks);
  return v;
}

val result_object(const bivox::JobResult& r, std::string_view score) {
  const bivox::ScoreText text{std::string(score)};
  val v = val::object();
  v.set("job", std::string(bivox::job_name(r.job)));
  v.set("name", r.name);
  v.set("output", byte_array(r.output));
  v.set("outputName", r.output_name);
  v.set("complete", r.complete());
  v.set("stop", static_cast<double>(r.stop));
  v.set("end", static_cast<double>(r.end));
  v.set("stopAt", location(text, r.stop));
  v.set("summary", r.summary);
  v.set("diagnostics", diagnostics(text, r));
  v.set("fatal", r.fatal ? val(bivox::to_utf8(*r.fatal)) : val::null());
  const bool stereo = r.job == bivox::Job::stereo;
  v.set("placement", stereo ? placement(r.placement) : val::null());
  // The map as bivox-cli --map writes it, titled with the score's name.
  v.set("stereoMap",
        stereo && !r.fatal ? val(bivox::stereo_map_svg(r.placement, r.name)) : val::null());
  return v;
}

// The stereo options from the texts people write ("-32..32", "C2..C7", "AB"); an empty text
// keeps the default. Gives the parse's message instead when it refuses a text.
std::variant<bivox::StereoOptions, std::string> parse_stereo(const std::string& pan_range,
                                                             const std::string& pitch_range,
                                                             const std::string& leave) {
  bivox::StereoOptions stereo;
  try {
    if (!pan_range.empty()) {
      std::tie(stereo.pan_left, stereo.pan_right) = bivox::parse_pan_range(pan_range);
    }
    if (!pitch_range.empty()) stereo.pitch_range = bivox::parse_pitch_range(pitch_range);
    stereo.leave = bivox::parse_track_letters(leave);
  } catch (const std::invalid_argument& e) {
    return std::string(e.what());
  }
  return stereo;
}

class WebSession {
 public:
  // `before_pass`, when a function, is called with each pass's index before it runs.
  // `pan_range`, `pitch_range` and `leave` are the stereo options' texts; one that its parse
  // refuses throws an Error with the parse's message.
  val run(const std::string& job, const std::string& score, const std::string& name,
          val before_pass, const std::string& pan_range, const std::string& pitch_range,
          const std::string& leave) {
    const std::optional<bivox::Job> which = bivox::job_named(job);
    if (!which) val::global("TypeError").new_(val("no such job: " + job)).throw_();
    auto stereo = parse_stereo(pan_range, pitch_range, leave);
    if (const std::string* refused = std::get_if<std::string>(&stereo)) {
      val::global("Error").new_(val(*refused)).throw_();
    }
    bivox::JobOptions options;
    options.stereo = std::get<bivox::StereoOptions>(std::move(stereo));
    if (before_pass.typeOf().as<std::string>() == "function") {
      options.before_pass = [&before_pass](int pass) { before_pass(pass); };
    }
    return result_object(session_.run(*which, score, name, options), score);
  }

 private:
  bivox::Session session_;
};

val decode(const std::string& cp932) {
  return val(bivox::to_utf8(cp932));
}

val encode(const std::string& utf8) {
  const std::optional<std::string> cp932 = bivox::to_cp932(utf8);
  return cp932 ? byte_array(*cp932) : val::null();
}

// The parse's message for stereo options' texts it refuses, or null.
val stereo_refusal(const std::string& pan_range, const std::string& pitch_range,
                   const std::string& leave) {
  const auto stereo = parse_stereo(pan_range, pitch_range, leave);
  const std::string* refused = std::get_if<std::string>(&stereo);
  return refused ? val(*refused) : val::null();
}

}  // namespace

EMSCRIPTEN_BINDINGS(bivox) {
  emscripten::class_<WebSession>("Session").constructor<>().function("run", &WebSession::run);
  emscripten::function("stereoRefusal", &stereo_refusal);
  emscripten::function("decode", &decode);
  emscripten::function("encode", &encode);
}
