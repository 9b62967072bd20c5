// Choosing the score file and showing files in the two displays.
#include <QFile>
#include <QPlainTextEdit>
#include <new>

#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"
#include "text/messages.hpp"

namespace bivox::shell {

namespace {

// Shift-JIS file content as the display shows it.
QString displayText(const std::string& bytes) {
  QString text = fromCp932(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace

void MainDialog::OnChooseFile() {
  const OpenFileRequest request{
      fromCp932(msg::kOpenDialogTitle),
      fromCp932(msg::kOpenDialogInitialName),
      fromCp932(msg::kOpenDialogFilter),
      QStringLiteral("zrb"),
  };
  if (const std::optional<QString> chosen = m_platform.chooseFile(this, request)) {
    takeChosenFile(*chosen);
  }
  m_platform.beep(262, 100);
}

// The chosen name is not checked for the score extension: the dialog's filter steers.
void MainDialog::takeChosenFile(const QString& path) {
  if (QFile probe(path); !probe.open(QIODevice::ReadOnly)) {
    information(msg::kFileMissingTitle, fromCp932(msg::kFileMissing));
    return;
  }
  ShowFile(path, m_upperDisplay);
  m_currentFile = m_launchFile = path;
  setWindowTitle(m_currentFile);
  ShowLines({std::string(msg::kFileChosen)});
}

void MainDialog::ShowFile(const QString& path, QPlainTextEdit* display) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    information(msg::kFileNotFound, path);
    return;
  }
  const qint64 size = file.size();
  std::string bytes;
  try {
    bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    information(msg::kNoMemory, fromCp932(msg::kError));
    return;
  }
  if (file.read(bytes.data(), size) != size) {
    m_platform.warning(this, fromCp932(msg::kReadFailed));
    return;
  }
  display->setPlainText(displayText(bytes));
}

void MainDialog::ShowLines(const std::vector<std::string>& lines) {
  // A scratch file that cannot be written leaves the lower display as it is.
  if (WriteLines(lines, m_scratchFile)) ShowFile(m_scratchFile, m_lowerDisplay);
}

bool MainDialog::WriteLines(const std::vector<std::string>& lines, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  for (const std::string& line : lines) {
    file.write(line.data(), static_cast<qint64>(line.size()));
    file.write("\r\n", 2);
  }
  file.close();
  return file.error() == QFileDevice::NoError;
}

bool MainDialog::HasScoreExtension(const QString& path) {
  return path.contains(QStringLiteral(".zrb")) || path.contains(QStringLiteral(".ZRB"));
}

}  // namespace bivox::shell
