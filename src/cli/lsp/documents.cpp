#include "cli/lsp/documents.hpp"

#include <algorithm>

#include "cli/lsp/positions.hpp"

namespace bivox::lsp {
namespace {

LspPosition position_json(const nlohmann::json& position) {
  return {position.at("line").get<int>(), position.at("character").get<int>()};
}

}  // namespace

void apply_change(std::string& text, const nlohmann::json& change) {
  const std::string& replacement = change.at("text").get_ref<const std::string&>();
  if (!change.contains("range")) {
    text = replacement;
    return;
  }
  const nlohmann::json& range = change.at("range");
  const TextLines lines(text, TextEncoding::utf8);
  const std::size_t start = lines.offset_of(position_json(range.at("start")));
  const std::size_t end = std::max(start, lines.offset_of(position_json(range.at("end"))));
  text.replace(start, end - start, replacement);
}

void Documents::mark_unchecked(const std::string& uri, Entry& entry) {
  entry.revision = ++revisions_;
  if (std::find(unchecked_.begin(), unchecked_.end(), uri) == unchecked_.end()) {
    unchecked_.push_back(uri);
  }
  unchecked_ready_.notify_one();
}

void Documents::open(const std::string& uri, std::string text) {
  const std::lock_guard lock(mutex_);
  Entry& entry = documents_[uri];
  entry.text = std::move(text);
  mark_unchecked(uri, entry);
}

void Documents::change(const std::string& uri, const nlohmann::json& changes) {
  const std::lock_guard lock(mutex_);
  const auto found = documents_.find(uri);
  if (found == documents_.end()) return;
  // All changes apply or none: a malformed one leaves the text as it was.
  std::string text = found->second.text;
  for (const nlohmann::json& change : changes) apply_change(text, change);
  found->second.text = std::move(text);
  mark_unchecked(uri, found->second);
}

void Documents::touch(const std::string& uri) {
  const std::lock_guard lock(mutex_);
  const auto found = documents_.find(uri);
  if (found != documents_.end()) mark_unchecked(uri, found->second);
}

void Documents::close(const std::string& uri) {
  const std::lock_guard lock(mutex_);
  documents_.erase(uri);
  std::erase(unchecked_, uri);
}

std::optional<DocumentText> Documents::find(const std::string& uri) const {
  const std::lock_guard lock(mutex_);
  const auto found = documents_.find(uri);
  if (found == documents_.end()) return std::nullopt;
  return DocumentText{uri, found->second.revision, found->second.text};
}

std::optional<DocumentText> Documents::next_unchecked() {
  std::unique_lock lock(mutex_);
  unchecked_ready_.wait(lock, [this] { return stopped_ || !unchecked_.empty(); });
  if (unchecked_.empty() || (stopped_ && !finish_unchecked_)) return std::nullopt;
  const std::string uri = unchecked_.front();
  unchecked_.erase(unchecked_.begin());
  const Entry& entry = documents_.at(uri);
  return DocumentText{uri, entry.revision, entry.text};
}

void Documents::publish_if_latest(const DocumentText& checked,
                                  const std::function<void()>& publish) {
  const std::lock_guard lock(mutex_);
  const auto found = documents_.find(checked.uri);
  if (found != documents_.end() && found->second.revision == checked.revision) publish();
}

void Documents::stop(bool finish_unchecked) {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
  finish_unchecked_ = finish_unchecked;
  unchecked_ready_.notify_all();
}

}  // namespace bivox::lsp
