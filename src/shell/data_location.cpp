#include "shell/data_location.hpp"

#include <QDir>
#include <QFileInfo>

#include "shell/shell_text.hpp"

namespace bivox::shell {

namespace {

// The installed layout: bin/Bivox with its data in share/bivox.
QString installedDataDirectory(const QString& programDir) {
  return QDir::toNativeSeparators(QDir::cleanPath(programDir + QStringLiteral("/../share/bivox")));
}

}  // namespace

QString dataFilePath(const QString& programDir, const QString& relative) {
  const QString beside = programPath(programDir, relative);
  const QString installed = installedDataDirectory(programDir);
  if (QFileInfo::exists(beside) || !QFileInfo::exists(installed)) return beside;
  return programPath(installed, relative);
}

}  // namespace bivox::shell
