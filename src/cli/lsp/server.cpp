#include "cli/lsp/server.hpp"

#include <bivox/bivox.hpp>
#include <cctype>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iostream>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/lsp/documents.hpp"
#include "cli/lsp/framing.hpp"
#include "cli/lsp/score_check.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace bivox::lsp {
namespace {

using nlohmann::json;

enum ErrorCode {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
};

// A request that is answered with an error.
struct RpcError {
  int code;
  std::string message;
};

enum MessageType { kErrorMessage = 1, kWarningMessage = 2, kInfoMessage = 3 };

constexpr std::string_view kCommandPrefix = "bivox.";

json notification(std::string_view method, json params) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

json error_response(const json& id, const RpcError& error) {
  return {{"jsonrpc", "2.0"},
          {"id", id},
          {"error", {{"code", error.code}, {"message", error.message}}}};
}

json capabilities() {
  json commands = json::array();
  for (const JobName& job : kJobNames) {
    if (job.job != Job::syntax)
      commands.push_back(std::string(kCommandPrefix) + std::string(job.name));
  }
  return {{"positionEncoding", "utf-16"},
          {"textDocumentSync",
           {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
          {"hoverProvider", true},
          {"executeCommandProvider", {{"commands", commands}}}};
}

// The job a command runs: "bivox.expand" or "bivox.stereo".
Job command_job(std::string_view command) {
  const std::optional<Job> job = command.starts_with(kCommandPrefix)
                                     ? job_named(command.substr(kCommandPrefix.size()))
                                     : std::nullopt;
  if (!job || *job == Job::syntax) throw RpcError{kInvalidParams, "no such command"};
  return *job;
}

const std::string& uri_of(const json& params) {
  return params.at("textDocument").at("uri").get_ref<const std::string&>();
}

std::string name_of(const std::string& uri) {
  return file_path(uri).value_or(uri);
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Server {
 public:
  Server(std::istream& in, std::ostream& out) : reader_(in), writer_(out) {}
  int run();

 private:
  void take(const Incoming& incoming);
  void take_message(const json& message);
  json answer(const std::string& method, const json& params);
  void follow(const std::string& method, const json& params);
  json hover(const json& params);
  json execute_command(const json& params);
  void show_message(MessageType type, const std::string& text);
  void publish(const std::string& uri, json diagnostics);
  void check_documents();
  void stop_checking(bool finish_unchecked);

  MessageReader reader_;
  MessageWriter writer_;
  Documents documents_;
  std::thread checker_;
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exited_ = false;
  // The notes of the last document hovered, for the revision they were taken from.
  std::optional<NoteInfo> notes_;
  std::string notes_uri_;
  std::uint64_t notes_revision_ = 0;
};

int Server::run() {
  checker_ = std::thread([this] { check_documents(); });
  while (!exited_) {
    const Incoming incoming = reader_.next();
    if (incoming.kind == Incoming::Kind::end) break;
    take(incoming);
  }
  stop_checking(false);
  return shut_down_ ? 0 : 1;
}

void Server::take(const Incoming& incoming) {
  if (incoming.kind == Incoming::Kind::bad_header) {
    writer_.send(error_response(nullptr, {kParseError, incoming.body}));
    return;
  }
  const json message = json::parse(incoming.body, nullptr, false);
  if (message.is_discarded()) {
    writer_.send(error_response(nullptr, {kParseError, "the body is no JSON"}));
    return;
  }
  take_message(message);
}

void Server::take_message(const json& message) {
  const bool is_object = message.is_object();
  const json id = is_object ? message.value("id", json()) : json();
  const bool valid_id = id.is_null() || id.is_string() || id.is_number_integer();
  if (is_object && !message.contains("method") && message.contains("id") &&
      (message.contains("result") || message.contains("error"))) {
    return;  // a response: the server sends no requests, so there is nothing to match
  }
  if (!is_object || !message.contains("method") || !message["method"].is_string() || !valid_id) {
    writer_.send(error_response(valid_id ? id : json(), {kInvalidRequest, "no valid request"}));
    return;
  }
  const std::string& method = message["method"].get_ref<const std::string&>();
  const json params = message.value("params", json::object());
  if (!message.contains("id")) {
    try {
      follow(method, params);
    } catch (const std::exception& e) {
      // A notification gets no answer; what went wrong goes to the client's log.
      writer_.send(notification("window/logMessage",
                                {{"type", kErrorMessage}, {"message", method + ": " + e.what()}}));
    }
    return;
  }
  try {
    writer_.send({{"jsonrpc", "2.0"}, {"id", id}, {"result", answer(method, params)}});
  } catch (const RpcError& e) {
    writer_.send(error_response(id, e));
  } catch (const json::exception& e) {
    writer_.send(error_response(id, {kInvalidParams, e.what()}));
  } catch (const std::exception& e) {
    writer_.send(error_response(id, {kInternalError, e.what()}));
  }
}

json Server::answer(const std::string& method, const json& params) {
  if (shut_down_) throw RpcError{kInvalidRequest, "the server is shut down"};
  if (method == "initialize") {
    initialized_ = true;
    return {{"capabilities", capabilities()}, {"serverInfo", {{"name", "bivox-cli"}}}};
  }
  if (!initialized_) throw RpcError{kServerNotInitialized, "initialize comes first"};
  if (method == "shutdown") {
    // The diagnostics of the last changes are published before the answer.
    stop_checking(true);
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/hover") return hover(params);
  if (method == "workspace/executeCommand") return execute_command(params);
  throw RpcError{kMethodNotFound, "no method " + method};
}

void Server::follow(const std::string& method, const json& params) {
  if (method == "exit") {
    exited_ = true;
    return;
  }
  if (!initialized_ || shut_down_) return;
  if (method == "textDocument/didOpen") {
    documents_.open(uri_of(params), params.at("textDocument").at("text").get<std::string>());
  } else if (method == "textDocument/didChange") {
    documents_.change(uri_of(params), params.at("contentChanges"));
  } else if (method == "textDocument/didSave") {
    documents_.touch(uri_of(params));
  } else if (method == "textDocument/didClose") {
    documents_.close(uri_of(params));
    publish(uri_of(params), json::array());
  }
  // Other notifications ("initialized", "$/..." and the like) ask for nothing.
}

json Server::hover(const json& params) {
  const std::string& uri = uri_of(params);
  const std::optional<DocumentText> document = documents_.find(uri);
  if (!document) return nullptr;
  if (!notes_ || notes_uri_ != uri || notes_revision_ != document->revision) {
    notes_.emplace(document->text, name_of(uri));
    notes_uri_ = uri;
    notes_revision_ = document->revision;
  }
  const json& position = params.at("position");
  return notes_->hover({position.at("line").get<int>(), position.at("character").get<int>()});
}

// Runs the job on the document's text and writes the output beside the score as bivox-cli
// does; the summary goes to the user.
json Server::execute_command(const json& params) {
  const Job job = command_job(params.at("command").get<std::string>());
  const std::string uri = params.at("arguments").at(0).get<std::string>();
  const std::optional<DocumentText> document = documents_.find(uri);
  const std::optional<std::string> path = file_path(uri);
  if (!document || !path) throw RpcError{kInvalidParams, "no open file " + uri};
  const ScoreBytes score = score_bytes(document->text);
  const auto refuse = [&](const std::string& text) {
    show_message(kErrorMessage, text);
    return RpcError{kInvalidParams, text};
  };
  if (!score.unencodable.empty()) {
    throw refuse(*path + ": " + score.unencodable.front().what + "; nothing written");
  }
  JobResult result;
  try {
    const std::string output_name = make_output_name(*path, NameEncoding::utf8);
    refuse_writing_over(*path, output_name);
    OutputFile output(output_name);
    result = Session().run(job, score.cp932, *path);
    output.commit(result.output);
  } catch (const FileError& e) {
    throw refuse(e.path() + ": " + e.what());
  }
  const MessageType type = result.fatal        ? kErrorMessage
                           : result.complete() ? kInfoMessage
                                               : kWarningMessage;
  show_message(type, result.summary);
  return {{"output", result.output_name},
          {"complete", result.complete()},
          {"summary", result.summary},
          {"diagnostics", result.diagnostics.size()}};
}

void Server::show_message(MessageType type, const std::string& text) {
  writer_.send(notification("window/showMessage", {{"type", type}, {"message", text}}));
}

void Server::publish(const std::string& uri, json diagnostics) {
  writer_.send(notification("textDocument/publishDiagnostics",
                            {{"uri", uri}, {"diagnostics", std::move(diagnostics)}}));
}

// The checker thread: the latest text of each changed document, checked and published
// unless it changed again meanwhile (its newer text is then next in line).
void Server::check_documents() {
  while (const std::optional<DocumentText> document = documents_.next_unchecked()) {
    try {
      json diagnostics = syntax_diagnostics(document->text, name_of(document->uri));
      documents_.publish_if_latest(*document,
                                   [&] { publish(document->uri, std::move(diagnostics)); });
    } catch (const std::exception& e) {
      writer_.send(
          notification("window/logMessage",
                       {{"type", kErrorMessage}, {"message", document->uri + ": " + e.what()}}));
    }
  }
}

void Server::stop_checking(bool finish_unchecked) {
  documents_.stop(finish_unchecked);
  if (checker_.joinable()) checker_.join();
}

}  // namespace

std::optional<std::string> file_path(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (!uri.starts_with(kScheme)) return std::nullopt;
  uri.remove_prefix(kScheme.size());
  if (uri.starts_with("localhost/")) uri.remove_prefix(std::string_view("localhost").size());
  if (!uri.starts_with('/')) return std::nullopt;
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    const int high = uri[i] == '%' && i + 2 < uri.size() ? hex_value(uri[i + 1]) : -1;
    const int low = high >= 0 ? hex_value(uri[i + 2]) : -1;
    if (low < 0) {
      path += uri[i];
      continue;
    }
    path += static_cast<char>(high * 16 + low);
    i += 2;
  }
  // A Windows drive: "/c:/x" names "c:/x".
  if (path.size() >= 3 && path[2] == ':' && std::isalpha(static_cast<unsigned char>(path[1]))) {
    path.erase(0, 1);
  }
  return path;
}

int serve(std::istream& in, std::ostream& out) {
  return Server(in, out).run();
}

int serve_stdio() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
  // Reading must not flush the output that the checker thread writes.
  std::cin.tie(nullptr);
  return serve(std::cin, std::cout);
}

}  // namespace bivox::lsp
