// The three job buttons: syntax test, macro expansion and stereo conversion.
#include <QPlainTextEdit>
#include <cstdio>

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
    return reportFileError(error);
  }
  if (result.fatal) return endAfterFatalStop(*result.fatal);

  takeOutput(job, fromNativePath(result.output_name));
  showJobLines(result);
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

// The summary, the diagnostics in their order, and the summary again. The summary is text
// (its path keeps the characters that cp932 lacks); the diagnostics keep their bytes.
void MainDialog::showJobLines(const JobResult& result) {
  std::vector<MessageLine> lines = result.display_block<MessageLine>(
      [](const std::string& summary) {
        return MessageLine::ofText(QString::fromStdString(summary));
      },
      [](const std::string& text) { return MessageLine::ofCp932(text); });
  if (result.job == Job::stereo) takeStereoResult(result, lines);
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
