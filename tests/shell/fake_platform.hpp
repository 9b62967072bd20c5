// A platform layer that records what the dialog asks of the desktop.
#pragma once

#include <QStringList>
#include <QWidget>

#include "shell/platform.hpp"

namespace bivox::shell {

class FakePlatform : public Platform {
 public:
  // Each request as one line: "info TITLE | TEXT", "warning TEXT", "beep HZ MS @CAPTION",
  // "wait MS @CAPTION", "open PATH", "choose".
  QStringList events;
  std::optional<QString> chosenFile;  // what the open-file dialog answers
  OpenFileRequest lastRequest;
  QString programDir;
  QString cacheDir;
  QStringList commandLine;
  QWidget* window = nullptr;  // whose caption beeps and waits record

  void information(QWidget*, const QString& title, const QString& text) override {
    events << QStringLiteral("info %1 | %2").arg(title, text);
  }
  void warning(QWidget*, const QString& text) override { events << "warning " + text; }
  std::optional<QString> chooseFile(QWidget*, const OpenFileRequest& request) override {
    events << QStringLiteral("choose");
    lastRequest = request;
    return chosenFile;
  }
  void beep(int frequencyHz, int durationMs) override {
    events << QStringLiteral("beep %1 %2").arg(frequencyHz).arg(durationMs) + caption();
  }
  void openWithRegisteredProgram(const QString& path) override { events << "open " + path; }
  void wait(int milliseconds) override {
    events << QStringLiteral("wait %1").arg(milliseconds) + caption();
  }
  QString programDirectory() const override { return programDir; }
  QString cacheDirectory() const override { return cacheDir; }
  QStringList arguments() const override { return commandLine; }

 private:
  QString caption() const { return window ? " @" + window->windowTitle() : QString(); }
};

}  // namespace bivox::shell
