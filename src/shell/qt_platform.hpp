#pragma once

#include <QStringList>

#include "shell/platform.hpp"

namespace bivox::shell {

// The platform layer on a real desktop.
class QtPlatform : public Platform {
 public:
  // Unattended: message boxes go to standard error and the open-file dialog is cancelled,
  // so that nothing waits for a person (used for screenshots).
  enum class Mode { interactive, unattended };

  QtPlatform(QStringList arguments, Mode mode);

  void information(QWidget* parent, const QString& title, const QString& text) override;
  void warning(QWidget* parent, const QString& text) override;
  std::optional<QString> chooseFile(QWidget* parent, const OpenFileRequest& request) override;
  void beep(int frequencyHz, int durationMs) override;
  void openWithRegisteredProgram(const QString& path) override;
  void wait(int milliseconds) override;
  QString programDirectory() const override;
  QString cacheDirectory() const override;
  QStringList arguments() const override;

 private:
  QStringList m_arguments;
  Mode m_mode;
};

}  // namespace bivox::shell
