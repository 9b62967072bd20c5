// The three job buttons: syntax test, macro expansion and stereo conversion.
#include <QPlainTextEdit>
#include <cstdio>

#include "jobs/output_name.hpp"
#include "shell/dialog_text.hpp"
#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"

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
      return {ui::kSyntaxRunning, {}};
    case Job::expand:
      return {ui::kExpandRunning0, ui::kExpandRunning1};
    case Job::stereo:
      break;
  }
  return {ui::kStereoRunning0, ui::kStereoRunning1};
}

std::string_view reasonOf(FileError::Problem problem) {
  switch (problem) {
    case FileError::Problem::unreadable:
      return ui::kUnreadable;
    case FileError::Problem::unwritable:
      return ui::kUnwritable;
    case FileError::Problem::output_is_input:
      break;
  }
  return ui::kOutputIsInput;
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
  if (m_currentFile != fromCp932(ui::kNoFile)) return false;
  information(ui::kNoFileChosen, fromCp932(ui::kNoFileChosen));
  return true;
}

void MainDialog::runJob(Job job) {
  if (refuseWithoutFile()) return;
  const PassCaptions captions = captionsOf(job);
  setWindowTitle(fromCp932(captions.first));
  m_platform.beep(262, 100);

  const std::string input = nativePath(m_currentFile);
  const std::string output = make_output_name(input, nativePathEncoding());
  const PassHook beforePass = [&](int pass) {
    if (pass == 0) return;
    setWindowTitle(fromCp932(captions.second));
    m_platform.wait(100);
  };
  JobResult result;
  try {
    result = run_job(*m_session, job, input, output, beforePass);
  } catch (const FileError& error) {
    return reportFileError(error);
  }
  if (result.fatal) return endAfterFatalStop(*result.fatal);

  takeOutput(job, fromNativePath(output));
  // Formatted in UTF-8, so that the path keeps the characters that cp932 lacks.
  const std::string format = fromCp932(summary_format(job, result.complete())).toStdString();
  showJobLines(QString::fromStdString(summary_line(format, m_currentFile.toStdString(), result)),
               result.diagnostics);
  m_platform.beep(330, 100);
}

// Every job's output is what the launch button opens and the upper display shows; macro
// expansion and stereo conversion make it the current file as well.
void MainDialog::takeOutput(Job job, const QString& output) {
  if (job != Job::syntax) m_currentFile = output;
  m_launchFile = output;
  setWindowTitle(m_currentFile);
  m_displayFile = output;
  showFile(m_displayFile, m_upperDisplay);
}

// The summary, the diagnostics in their order, and the summary again.
void MainDialog::showJobLines(const QString& summary, const std::vector<std::string>& diagnostics) {
  std::vector<MessageLine> lines{MessageLine::ofText(summary)};
  for (const std::string& diagnostic : diagnostics)
    lines.push_back(MessageLine::ofCp932(diagnostic));
  lines.push_back(lines.front());
  showLines(lines);
}

// The input or the output could not be used; nothing was written and the current file
// stays as it was.
void MainDialog::reportFileError(const FileError& error) {
  information(ui::kError, fromNativePath(error.path()) + QLatin1Char('\n') +
                              fromCp932(reasonOf(error.problem())));
  setWindowTitle(m_currentFile);
  m_platform.beep(330, 100);
}

// A resource limit ended the job; its message is the last thing in the output file. The
// program ends with exit status 1.
void MainDialog::endAfterFatalStop(const std::string& message) {
  std::fprintf(stderr, "Bivox: %s", fromCp932(message).toLocal8Bit().constData());
  m_fatalStop = true;
  done(QDialog::Rejected);
}

}  // namespace bivox::shell
