// Named and nameless macros: reported outside the macro expansion, written out in it.
#include <cstdint>

#include "engine/fatal_stop.hpp"
#include "grammar/command_tables.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

// The repeat number of a count text: 1 when it is empty, else its decimal value. A count
// past the loop limit is held just beyond it, so that counts of any number of digits
// (beyond 32 or 64 bits too) neither wrap nor overflow.
std::uint64_t repeat_number(std::string_view count) {
  if (count.empty()) return 1;
  std::uint64_t value = 0;
  for (const char c : count) {
    if (value <= std::uint64_t{kLoopTextLimit})
      value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// The body written `count` times, whole, however far beyond the 10,240 bytes of a macro
// field it goes. A repetition longer than one element loop can hold ends in the loop's
// fatal stop before anything is built, so no count makes the text or the memory grow past
// that limit.
std::string repeated(std::string_view body, std::uint64_t count) {
  if (body.empty()) return "";
  if (count > std::uint64_t{kLoopTextLimit} / body.size())
    throw FatalStop(std::string(msg::kLoopBufferFull));
  std::string text;
  text.reserve(body.size() * count);
  for (std::uint64_t i = 0; i < count; ++i) text.append(body);
  return text;
}

}  // namespace

bool Grammar::macro() {
  static constexpr StartTable kStarts = start_table(kMacros);
  return first_rule(kMacros, kStarts);
}

bool Grammar::macro_definition() {
  Frame f(*this);
  if (f.seq("$", &Grammar::name, "{", &Grammar::macro_body, "}", &Grammar::optional_number)) {
    return f.yield(NL, define_macro(f[2], f[6], f[4]));
  }
  if (f.seq("$", &Grammar::name, "{", "}", &Grammar::optional_number)) {
    return f.yield(NL, define_macro(f[2], f[5], ""));
  }
  return f.fail();
}

bool Grammar::macro_reference() {
  Frame f(*this);
  if (f.seq("$", "{", &Grammar::name, "}", &Grammar::optional_number)) {
    return f.yield(NL, reference_macro(f[3], f[5]));
  }
  return f.fail();
}

bool Grammar::nameless_macro() {
  Frame f(*this);
  if (f.seq("{", &Grammar::macro_body, "}", &Grammar::optional_number)) {
    remember_nameless(f[2]);
    return f.yield(f[1], f[2], f[3], f[4]);
  }
  if (f.seq("{", "}", &Grammar::optional_number)) {
    return f.yield(f[1], recall_nameless(), f[2], f[3]);
  }
  return f.fail();
}

bool Grammar::macro_body() {
  // The body's elements are read one macro level deeper, matched or not.
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
  };
  Frame f(*this);
  const DepthGuard guard(s_.score.macro_depth);
  if (f.seq(&Grammar::elements)) return f.pass(1);
  return f.fail();
}

// Outside the expansion a definition is written back as it stands; in the expansion it is
// stored (the first definition of a name wins) and its own body is written `count` times.
// Either text is produced whole, also when it is longer than a macro field.
std::string Grammar::define_macro(std::string_view name, std::string_view count,
                                  std::string_view body) {
  if (!s_.switches.expansion) {
    return "$" + std::string(name) + "{" + std::string(body) + "}" + std::string(count);
  }
  s_.engine.emit_trace(msg::kTraceMacroDefinition);
  MacroTable& table = s_.macros;
  if (table.find(name) == nullptr) {
    if (table.entries.size() >= MacroTable::kCapacity) {
      throw FatalStop(format(msg::kMacroTableFull, static_cast<int>(MacroTable::kCapacity + 1)));
    }
    if (name.size() >= MacroTable::kNameField || body.size() >= MacroTable::kBodyField) {
      throw FatalStop(format(msg::kNamedMacroTooLong, static_cast<int>(MacroTable::kBodyField)));
    }
    table.entries.push_back({std::string(name), std::string(body)});
  }
  return repeated(body, repeat_number(count));
}

// Outside the expansion a reference is written back and reported; in the expansion it
// stands for the stored body, or for the not-found marker once whatever the count.
std::string Grammar::reference_macro(std::string_view name, std::string_view count) {
  if (!s_.switches.expansion) {
    s_.diagnostics.add(msg::kMacroReference);
    return "${" + std::string(name) + "}" + std::string(count);
  }
  s_.engine.emit_trace(msg::kTraceMacroReference);
  const MacroTable::Entry* entry = s_.macros.find(name);
  if (entry == nullptr) return std::string(msg::kMacroNotFound);
  return repeated(entry->body, repeat_number(count));
}

void Grammar::remember_nameless(std::string_view body) {
  if (!s_.switches.expansion) return;
  if (body.size() >= MacroTable::kBodyField) {
    throw FatalStop(format(msg::kNamelessMacroTooLong, static_cast<int>(MacroTable::kBodyField)));
  }
  s_.macros.nameless_body = body;
}

std::string Grammar::recall_nameless() {
  if (!s_.switches.expansion) {
    s_.diagnostics.add(msg::kNamelessRecall);
    return "";
  }
  return s_.macros.nameless_body;
}

}  // namespace bivox
