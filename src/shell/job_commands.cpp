// The three job buttons: syntax test, macro expansion and stereo conversion.
#include <QPlainTextEdit>
#include <cstdio>

#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"
#include "text/messages.hpp"

namespace bivox::shell {

namespace {

// The caption while each pass of the job runs.
struct PassCaptions {
  std::string_view first;
  std::string_view second;
};

PassCaptions captionsOf(Job job) {
  switch (job) {
    case Job::syntax:
      return {msg::kSyntaxRunning, {}};
    case Job::expand:
      return {msg::kExpandRunning0, msg::kExpandRunning1};
    case Job::stereo:
      break;
  }
  return {msg::kStereoRunning0, msg::kStereoRunning1};
}

}  // namespace

void MainDialog::OnSyntaxTest() {
  runJob(Job::syntax);
}

void MainDialog::OnExpandMacros() {
  runJob(Job::expand);
}

void MainDialog::OnStereo() {
  runJob(Job::stereo);
}

bool MainDialog::refuseWithoutFile() {
  if (m_currentFile != fromCp932(msg::kNoFile)) return false;
  information(msg::kNoFileChosen, fromCp932(msg::kNoFileChosen));
  return true;
}

void MainDialog::runJob(Job job) {
  if (refuseWithoutFile()) return;
  const PassCaptions captions = captionsOf(job);
  setWindowTitle(fromCp932(captions.first));
  m_platform.beep(262, 100);

  JobOptions options;
  options.stereo = m_stereo;
  options.before_pass = [&](int pass) {
    if (pass == 0) return;
    setWindowTitle(fromCp932(captions.second));
    m_platform.wait(100);
  };
  JobResult result;
  try {
    result = run_file(*m_session, job, nativePath(m_currentFile), options);
  } catch (const FileError& error) {
    reportFileError(error);
    setWindowTitle(m_currentFile);
    m_platform.beep(330, 100);
    return;
  }
  if (result.fatal) return endAfterFatalStop(*result.fatal);

  const QString outputPath = fromNativePath(result.output_name);
  if (job != Job::syntax) m_currentFile = outputPath;
  m_launchFile = outputPath;
  setWindowTitle(m_currentFile);
  m_displayFile = outputPath;
  ShowFile(m_displayFile, m_upperDisplay);

  std::vector<std::string> lines;
  for (const std::string& line : result.display_lines()) {
    lines.push_back(toCp932(QString::fromStdString(line)));
  }
  if (job == Job::stereo) takeStereoResult(result, lines);
  ShowLines(lines);
  m_platform.beep(330, 100);
}

// The input or the output could not be used; nothing was written and the current file
// stays as it was.
void MainDialog::reportFileError(const FileError& error) {
  information(msg::kError,
              fromNativePath(error.path()) + QLatin1Char('\n') + QString::fromUtf8(error.what()));
}

// A resource limit ended the job; its message is the last thing in the output file. The
// program ends with exit status 1.
void MainDialog::endAfterFatalStop(const std::string& message) {
  std::fprintf(stderr, "Bivox: %s", fromCp932(message).toLocal8Bit().constData());
  m_fatalStop = true;
  done(QDialog::Rejected);
}

}  // namespace bivox::shell
