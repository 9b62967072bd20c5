#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bivox/bivox.hpp"
#include "shell/platform.hpp"

class QAction;
class QComboBox;
class QPlainTextEdit;

namespace bivox::shell {

// A line for the lower display: the cp932 bytes that the scratch file gets, and the text
// shown, which keeps the characters that cp932 lacks (a file name outside cp932).
struct MessageLine {
  static MessageLine ofCp932(std::string_view cp932);
  static MessageLine ofText(const QString& text);

  std::string bytes;
  QString text;
};

class StereoMapWindow;

// The program's one window: job buttons, the guide box and two read-only displays. The
// upper display shows the current score or the last job's output, the lower one messages,
// diagnostics or a guide text.
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MainDialog(Platform& platform, QWidget* parent = nullptr);
  ~MainDialog() override;

  // True once a job ended in a fatal stop; the dialog has closed then and the program ends
  // with exit status 1.
  bool fatalStopped() const { return m_fatalStop; }

  const QString& currentFile() const { return m_currentFile; }
  const QString& launchFile() const { return m_launchFile; }
  const QString& displayFile() const { return m_displayFile; }
  const QString& programDir() const { return m_programDir; }
  const QString& scratchFile() const { return m_scratchFile; }

  // The whole file into the display; a file that cannot be read is reported in a box and
  // the display keeps its text.
  void showFile(const QString& path, QPlainTextEdit* display);
  // The lines into the scratch file and the lower display; a scratch file that cannot be
  // written leaves the lower display as it is.
  void showLines(const std::vector<MessageLine>& lines);
  // Replaces the file's content with the lines' bytes, each line followed by CR LF. False
  // when the file cannot be written.
  static bool writeLines(const std::vector<MessageLine>& lines, const QString& path);
  // True when the path contains ".zrb" or ".ZRB" anywhere (exact case).
  static bool hasScoreExtension(const QString& path);

 public slots:
  void OnChooseFile();
  void OnSyntaxTest();
  void OnExpandMacros();
  void OnStereo();
  void OnLaunch();
  void OnGuideSelected();
  void OnAbout();
  // The stereo settings box, and the window with the last stereo conversion's map.
  void onStereoSettings();
  void onStereoMap();

 public:
  const StereoOptions& stereoOptions() const { return m_stereo; }

 protected:
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

 private:
  void buildControls();
  void addGuideBox(const QRect& geometry);
#ifdef Q_OS_WIN
  void addAboutToSystemMenu();
#endif
  void addStereoItems();
  // A window-menu command of the stereo items (the system menu's on Windows); false for
  // any other.
  bool stereoMenuCommand(unsigned id);
  // After a stereo conversion: keeps its placement for the map, and names the settings
  // after the summary when they are not the defaults.
  void takeStereoResult(const JobResult& result, std::vector<MessageLine>& lines);
  void takeCommandLine();
  void chooseScratchFile();
  void showNoFile();
  void takeChosenFile(const QString& path);
  // Shows the "no file chosen" box when no score is chosen; true then.
  bool refuseWithoutFile();
  void runJob(Job job);
  void takeOutput(Job job, const QString& output);
  void showJobLines(const JobResult& result);
  void reportFileError(const FileError& error);
  void endAfterFatalStop(const std::string& message);
  QString guidePath(int index) const;
  void information(std::string_view title, const QString& text);

  Platform& m_platform;
  std::unique_ptr<Session> m_session;  // lives as long as the dialog: captures carry over
  QString m_scratchFile;
  QString m_currentFile;
  QString m_launchFile;
  QString m_displayFile;
  QString m_programDir;
  QAction* m_aboutAction = nullptr;
  QComboBox* m_guideCombo = nullptr;
  QPlainTextEdit* m_upperDisplay = nullptr;
  QPlainTextEdit* m_lowerDisplay = nullptr;
  QIcon m_icon;
  bool m_fatalStop = false;
  StereoOptions m_stereo;
  std::optional<Placement> m_placement;  // of the last stereo conversion
  QString m_placementName;
  StereoMapWindow* m_mapWindow = nullptr;
};

}  // namespace bivox::shell
