#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace bivox::lsp {

// One state of an open document. The revision grows with every change of any document.
struct DocumentText {
  std::string uri;
  std::uint64_t revision = 0;
  std::string text;  // UTF-8, as the editor sent it
};

// Applies one entry of a didChange notification's contentChanges to a text: a range
// replaced by a text, or without a range the whole text.
void apply_change(std::string& text, const nlohmann::json& change);

// The open documents, shared by the thread that reads messages and the one that checks.
// The reader stores every change at once; the checker takes only a document's latest text,
// so that a burst of changes arriving while a check runs is checked once.
class Documents {
 public:
  void open(const std::string& uri, std::string text);
  // Applies the changes in order; nothing for a document that is not open.
  void change(const std::string& uri, const nlohmann::json& changes);
  // Asks for the document to be checked again.
  void touch(const std::string& uri);
  void close(const std::string& uri);
  std::optional<DocumentText> find(const std::string& uri) const;

  // Waits for a document whose latest text is unchecked and gives that text; nothing once
  // stopped (with `finish_unchecked`: once stopped and every text is checked).
  std::optional<DocumentText> next_unchecked();
  // Runs `publish` unless the document changed or closed after `checked` was taken. Runs
  // it with the documents locked, so that no change or close slips in between.
  void publish_if_latest(const DocumentText& checked, const std::function<void()>& publish);
  void stop(bool finish_unchecked);

 private:
  struct Entry {
    std::uint64_t revision = 0;
    std::string text;
  };
  void mark_unchecked(const std::string& uri, Entry& entry);

  mutable std::mutex mutex_;
  std::condition_variable unchecked_ready_;
  std::map<std::string, Entry> documents_;
  std::vector<std::string> unchecked_;  // in the order they changed, each once
  std::uint64_t revisions_ = 0;
  bool stopped_ = false;
  bool finish_unchecked_ = false;
};

}  // namespace bivox::lsp
