#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace bivox::shell {

// What the open-file dialog is asked for.
struct OpenFileRequest {
  QString title;
  QString initialName;
  QString filter;            // shown text with its pattern, e.g. "Zerbo Files (*.zrb)"
  QString defaultExtension;  // without its dot
};

// Everything the dialog needs from the desktop, so that every handler can run against a fake.
class Platform {
 public:
  virtual ~Platform() = default;

  // A message box with the information icon.
  virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
  // The application's own warning box (the program's name as title).
  virtual void warning(QWidget* parent, const QString& text) = 0;
  // The chosen path, or nothing when the user cancels. A typed name of a file that does not
  // exist is returned as well.
  virtual std::optional<QString> chooseFile(QWidget* parent, const OpenFileRequest& request) = 0;
  virtual void beep(int frequencyHz, int durationMs) = 0;
  // Hands the file to the program registered for it; failures are not reported.
  virtual void openWithRegisteredProgram(const QString& path) = 0;
  // A blocking pause.
  virtual void wait(int milliseconds) = 0;
  // The directory of the running executable, without a trailing separator.
  virtual QString programDirectory() const = 0;
  // A directory of the user's that the program may write to when its own one is read-only.
  virtual QString cacheDirectory() const = 0;
  // The arguments after the program's name, as the system hands them over.
  virtual QStringList arguments() const = 0;
};

}  // namespace bivox::shell
