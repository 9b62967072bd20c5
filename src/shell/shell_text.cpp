#include "shell/shell_text.hpp"

#include <QDir>

namespace bivox::shell {

QString fromCp932(std::string_view cp932) {
  const std::string utf8 = to_utf8(cp932);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp932(const QString& text) {
  return to_cp932_lossy(text.toUtf8().toStdString());
}

std::string nativePath(const QString& path) {
  return path.toUtf8().toStdString();
}

QString fromNativePath(const std::string& path) {
  return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

QString programPath(const QString& directory, const QString& relative) {
  QString tail = relative;
  tail.replace(QLatin1Char('\\'), QDir::separator());
  return directory + QDir::separator() + tail;
}

}  // namespace bivox::shell
