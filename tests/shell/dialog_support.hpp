// What the dialog tests share: a platform layer that records what the dialog asks of the
// desktop, files written and read as bytes, the guide texts, and the dialog's controls.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

#include "shell/main_dialog.hpp"
#include "shell/platform.hpp"
#include "shell/shell_text.hpp"

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

inline QByteArray cp932(const QString& text) {
  return QByteArray::fromStdString(toCp932(text));
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString guidePath(const QString& dataDir, int n) {
  return dataDir + QStringLiteral("/案内/__Guide%1.txt").arg(n, 3, 10, QLatin1Char('0'));
}

// The eleven guide texts (cp932, CR LF) and an empty HTML document in the data directory.
inline void writeGuides(const QString& dataDir, const std::function<QString(int)>& text) {
  QVERIFY(QDir().mkpath(dataDir + QStringLiteral("/案内")));
  for (int n = 0; n <= 10; ++n) {
    writeFile(guidePath(dataDir, n), cp932(text(n).replace(QLatin1Char('\n'), "\r\n")));
  }
  writeFile(dataDir + QStringLiteral("/Bivox.html"), {});
}

template <class Widget = QPushButton>
Widget* control(const MainDialog& d, const char* name) {
  auto* widget = d.findChild<Widget*>(QLatin1StringView(name));
  if (!widget) qFatal("no control %s", name);
  return widget;
}

inline QString lower(const MainDialog& d) {
  return control<QPlainTextEdit>(d, "lowerDisplay")->toPlainText();
}

inline void selectGuide(const MainDialog& d, int index) {
  auto* box = control<QComboBox>(d, "guideBox");
  box->setCurrentIndex(index);
  emit box->activated(index);
}

}  // namespace bivox::shell
