#pragma once

#include <QDialog>
#include <QString>

#include "bivox/bivox.hpp"

class QLabel;
class QLineEdit;

namespace bivox::shell {

// The stereo options as remembered between runs (QSettings, organisation and application
// "Bivox"). A stored value that no longer reads leaves that option at its default.
StereoOptions loadStereoOptions();
void saveStereoOptions(const StereoOptions& options);

// The line the lower display adds after the summary when the options are not the
// defaults, naming them; empty for the defaults.
QString stereoSettingsLine(const StereoOptions& options);

// The stereo settings box: the pan range, a fixed pitch range (empty: the notes' own) and
// the tracks left alone, as texts, with a button that restores the defaults. OK takes the
// texts only when all three read; otherwise the box names what is wrong and stays open.
class StereoSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  StereoSettingsDialog(const StereoOptions& options, QWidget* parent);
  const StereoOptions& options() const { return m_options; }

 public slots:
  void accept() override;
  void restoreDefaults();

 private:
  void showOptions(const StereoOptions& options);

  StereoOptions m_options;
  QLineEdit* m_panRange = nullptr;
  QLineEdit* m_pitchRange = nullptr;
  QLineEdit* m_leave = nullptr;
  QLabel* m_problem = nullptr;
};

}  // namespace bivox::shell
