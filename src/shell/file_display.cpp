// Choosing the score file and showing files in the two displays.
#include <QFile>
#include <QPlainTextEdit>
#include <new>

#include "shell/dialog_text.hpp"
#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"

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
      fromCp932(ui::kOpenDialogTitle),
      fromCp932(ui::kOpenDialogInitialName),
      fromCp932(ui::kOpenDialogFilter),
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
    information(ui::kFileMissingTitle, fromCp932(ui::kFileMissing));
    return;
  }
  showFile(path, m_upperDisplay);
  m_currentFile = m_launchFile = path;
  setWindowTitle(m_currentFile);
  showLines({MessageLine::ofCp932(ui::kFileChosen)});
}

void MainDialog::showFile(const QString& path, QPlainTextEdit* display) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    information(ui::kFileNotFound, path);
    return;
  }
  const qint64 size = file.size();
  std::string bytes;
  try {
    bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    information(ui::kNoMemory, fromCp932(ui::kError));
    return;
  }
  if (file.read(bytes.data(), size) != size) {
    m_platform.warning(this, fromCp932(ui::kReadFailed));
    return;
  }
  display->setPlainText(displayText(bytes));
}

// The lower display shows the lines as written, but with their own text: the scratch file
// is cp932, which has no form for some characters of a file name.
void MainDialog::showLines(const std::vector<MessageLine>& lines) {
  if (!writeLines(lines, m_scratchFile)) return;
  QString text;
  for (const MessageLine& line : lines) text += line.text + QLatin1Char('\n');
  m_lowerDisplay->setPlainText(text);
}

bool MainDialog::writeLines(const std::vector<MessageLine>& lines, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  for (const MessageLine& line : lines) {
    file.write(line.bytes.data(), static_cast<qint64>(line.bytes.size()));
    file.write("\r\n", 2);
  }
  file.close();
  return file.error() == QFileDevice::NoError;
}

bool MainDialog::hasScoreExtension(const QString& path) {
  return path.contains(QStringLiteral(".zrb")) || path.contains(QStringLiteral(".ZRB"));
}

}  // namespace bivox::shell
