// The language server below the editor: message framing, positions in UTF-16 code units,
// edits, the coalescing of changes, and whole sessions on in-memory streams.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/lsp/documents.hpp"
#include "cli/lsp/framing.hpp"
#include "cli/lsp/positions.hpp"
#include "cli/lsp/server.hpp"
#include "support.hpp"

namespace bivox::lsp {
namespace {

using Kind = Incoming::Kind;

TEST(LspFraming, ReadsMessagesAndPassesOverBadHeaders) {
  std::istringstream in(
      "Content-Length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}"
      "\r\ncontent-length:  6 \n\n\"\xE6\x97\xA5\"x"
      "Content-Type: text\r\n\r\n"
      "Content-Length: 12x\r\n\r\n"
      "Content-Length: 99999999999999999999\r\n\r\n" +
      framed("[1]") + "Content-Length: 10\r\n\r\n{\"cut");
  const std::pair<Kind, std::string> expected[] = {
      {Kind::message, "{}"},
      {Kind::message, "\"\xE6\x97\xA5\"x"},
      {Kind::bad_header, "no Content-Length header"},
      {Kind::bad_header, "Content-Length is no usable number"},
      {Kind::bad_header, "Content-Length is no usable number"},
      {Kind::message, "[1]"},
      {Kind::end, ""},
  };
  MessageReader reader(in);
  for (const auto& [kind, body] : expected) {
    const Incoming incoming = reader.next();
    EXPECT_EQ(incoming.kind, kind) << body;
    EXPECT_EQ(incoming.body, body);
  }
}

struct PositionCase {
  std::size_t offset;
  LspPosition position;
  std::size_t back;  // offset_of(position)
};

void expect_positions(const TextLines& lines, std::initializer_list<PositionCase> cases) {
  for (const PositionCase& c : cases) {
    EXPECT_EQ(lines.position_of(c.offset), c.position) << "offset " << c.offset;
    EXPECT_EQ(lines.offset_of(c.position), c.back) << "offset " << c.offset;
  }
}

// "日本" in cp932 is two characters of two bytes; CR LF, LF and a lone CR each end a line.
TEST(LspPositions, Cp932CharactersAreOneCodeUnit) {
  const TextLines lines("ab\r\n\x93\xFA\x96\x7Bx\rz\n\xB1", TextEncoding::cp932);
  expect_positions(lines, {
                              {0, {0, 0}, 0},
                              {2, {0, 2}, 2},    // at the CR of CR LF
                              {3, {0, 2}, 2},    // inside CR LF
                              {4, {1, 0}, 4},    // after CR LF
                              {5, {1, 0}, 4},    // inside a double-byte character
                              {6, {1, 1}, 6},    // whose second byte 0x7B is no brace
                              {9, {1, 3}, 9},    // the lone CR
                              {10, {2, 0}, 10},  // after it
                              {12, {3, 0}, 12},  // half-width katakana, one byte
                              {13, {3, 1}, 13},  // the end
                              {99, {3, 1}, 13},  // beyond the end
                          });
  EXPECT_EQ(lines.offset_of({0, 99}), 2U);  // beyond the line's end: its end
  EXPECT_EQ(lines.offset_of({9, 0}), 13U);  // beyond the last line: the text's end
}

// "日" is three UTF-8 bytes and one code unit, "😀" four bytes and two code units.
TEST(LspPositions, Utf8CountsSurrogatePairs) {
  const TextLines lines("\xE6\x97\xA5\xF0\x9F\x98\x80z\r\n", TextEncoding::utf8);
  expect_positions(lines, {
                              {3, {0, 1}, 3},
                              {5, {0, 1}, 3},  // inside the emoji
                              {7, {0, 3}, 7},
                              {10, {1, 0}, 10},
                          });
  EXPECT_EQ(lines.offset_of({0, 2}), 3U);  // between the surrogates: the emoji's start
}

// A ranged change counts UTF-16 code units across lines (whole texts replace in the next test).
TEST(LspDocuments, AppliesRangedChanges) {
  std::string text = "\xE6\x97\xA5\xF0\x9F\x98\x80z\r\nab";
  apply_change(
      text,
      {{"range",
        {{"start", {{"line", 0}, {"character", 3}}}, {"end", {{"line", 1}, {"character", 1}}}}},
       {"text", "Q"}});
  EXPECT_EQ(text, "\xE6\x97\xA5\xF0\x9F\x98\x80Qb");
}

// Changes that arrive while the checker is busy are checked once, in their latest state.
TEST(LspDocuments, ChecksOnlyTheLatestText) {
  Documents documents;
  documents.open("file:///a.zrb", "v1");
  documents.open("file:///b.zrb", "b");
  for (const char* text : {"v2", "v3", "v4"}) {
    documents.change("file:///a.zrb", nlohmann::json::array({{{"text", text}}}));
  }
  const std::optional<DocumentText> first = documents.next_unchecked();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->text, "v4");
  documents.change("file:///a.zrb", nlohmann::json::array({{{"text", "v5"}}}));
  bool published = false;
  documents.publish_if_latest(*first, [&] { published = true; });
  EXPECT_FALSE(published);  // outdated: v5 is in line
  documents.stop(true);
  EXPECT_EQ(documents.next_unchecked()->text, "b");
  EXPECT_EQ(documents.next_unchecked()->text, "v5");
  EXPECT_FALSE(documents.next_unchecked());
}

TEST(LspServer, FilePathsOfUris) {
  EXPECT_EQ(file_path("file:///tmp/%E6%9B%B2%20a.zrb"), "/tmp/\xE6\x9B\xB2 a.zrb");
  EXPECT_EQ(file_path("file:///c%3A/x.zrb"), "c:/x.zrb");
  EXPECT_EQ(file_path("untitled:1"), std::nullopt);
}

using nlohmann::json;

// Framed messages of a client.
std::string request(int id, std::string_view method, json params = json::object()) {
  return framed(
      json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}}
          .dump());
}
std::string notice(std::string_view method, json params = json::object()) {
  return framed(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}.dump());
}
std::string open_document(const std::string& uri, const std::string& text) {
  return notice("textDocument/didOpen",
                {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", text}}}});
}
std::string run_command(int id, std::string_view command, const std::string& uri) {
  return request(id, "workspace/executeCommand", {{"command", command}, {"arguments", {uri}}});
}
json at(int line, int character) {
  return {{"line", line}, {"character", character}};
}

// The messages the server sent for the input, by id ("method" for notifications).
std::map<std::string, json> serve_session(const std::string& input, int& status) {
  std::istringstream in(input);
  std::ostringstream out;
  status = serve(in, out);
  std::istringstream sent(out.str());
  MessageReader reader(sent);
  std::map<std::string, json> by_id;
  for (Incoming m = reader.next(); m.kind == Incoming::Kind::message; m = reader.next()) {
    const json message = json::parse(m.body);
    const std::string key =
        message.contains("method") ? message["method"].get<std::string>() : message["id"].dump();
    by_id.emplace(key, message);  // the first of each
  }
  return by_id;
}

// A session through malformed messages, a score with Japanese text, CR LF line ends and a
// character outside cp932 (two UTF-16 code units), hovers and the stereo command. (The editor
// test runs the command on a score it can write.)
TEST(LspServer, AnswersEveryMessageAndPlacesDiagnosticsInUtf16) {
  test::TempDir dir;
  const std::string uri = "file://" + dir.file("song.zrb");
  const std::string text =
      "/* \xE7\xB7\xB4\xE7\xBF\x92 */\r\n"  // a comment in Japanese
      "#A0 x1 \xF0\x9F\x98\x80 c4 _\r\n"    // an emoji, a note and a rest
      "@B V100 c V90 $$$\r\n";              // a diagnostic, then not understood
  std::string input = request(1, "initialize") + framed("{nope") + "Content-Type: x\r\n\r\n" +
                      framed(R"({"jsonrpc":"2.0","id":2})") + request(3, "no/such") +
                      open_document(uri, text);
  const json hovers[] = {at(1, 10), at(1, 13), at(1, 0)};
  for (int i = 0; i < 3; ++i) {
    input += request(4 + i, "textDocument/hover",
                     {{"textDocument", {{"uri", uri}}}, {"position", hovers[i]}});
  }
  input += run_command(7, "bivox.stereo", uri) + run_command(8, "bivox.syntax", uri) +
           request(9, "shutdown") + notice("exit");
  int status = -1;
  const std::map<std::string, json> sent = serve_session(input, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(sent.at("1")["result"]["capabilities"]["textDocumentSync"]["change"], 2);
  EXPECT_EQ(sent.at("null")["error"]["code"], -32700);  // the first of two
  EXPECT_EQ(sent.at("2")["error"]["code"], -32600);
  EXPECT_EQ(sent.at("3")["error"]["code"], -32601);
  EXPECT_EQ(sent.at("8")["error"]["code"], -32602);
  EXPECT_EQ(sent.at("9")["result"], nullptr);

  const json& diagnostics = sent.at("textDocument/publishDiagnostics")["params"]["diagnostics"];
  ASSERT_EQ(diagnostics.size(), 3U);
  const std::tuple<json, json, int, std::string> expected[] = {
      {at(1, 7), at(1, 9), 1, "the character U+1F600 has no Shift-JIS (cp932) form"},
      {at(2, 13), at(2, 13), 2, "\xE3\x83\xA1"},  // the member message, in Japanese
      {at(2, 14), at(2, 17), 1, "not understood from here on"},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& [start, end, severity, message] = expected[i];
    EXPECT_EQ(diagnostics[i]["range"]["start"], start) << i;
    EXPECT_EQ(diagnostics[i]["range"]["end"], end) << i;
    EXPECT_EQ(diagnostics[i]["severity"], severity) << i;
    EXPECT_TRUE(diagnostics[i]["message"].get<std::string>().starts_with(message)) << i;
  }

  // Both notes of track A are C4: the whole range is one pitch, placed at the centre.
  const json& note = sent.at("4")["result"];
  EXPECT_EQ(note["range"]["start"], at(1, 10));
  EXPECT_EQ(note["range"]["end"], at(1, 12));
  EXPECT_EQ(note["contents"]["value"],
            "**C4** (pitch 48) on track A\n\nstereo conversion: pan `@S0`");
  EXPECT_EQ(sent.at("5")["result"]["contents"]["value"], "rest on track A: no pitch, no pan");
  EXPECT_EQ(sent.at("6")["result"], nullptr);

  // The character outside cp932 keeps the command from writing a lossy score.
  EXPECT_EQ(sent.at("7")["error"]["code"], -32602);
  EXPECT_EQ(sent.at("window/showMessage")["params"]["type"], 1);
  EXPECT_FALSE(std::filesystem::exists(dir.file("_song.zrb")));
}

TEST(LspServer, ExitWithoutShutdownEndsWithStatus1) {
  int status = -1;
  serve_session(request(1, "initialize") + notice("exit"), status);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace bivox::lsp
