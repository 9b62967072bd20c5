#include "shell/qt_platform.hpp"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace bivox::shell {

namespace {

void report(const QString& title, const QString& text) {
  std::fprintf(stderr, "Bivox: [%s] %s\n", title.toLocal8Bit().constData(),
               text.toLocal8Bit().constData());
}

}  // namespace

QtPlatform::QtPlatform(QStringList arguments, Mode mode)
    : m_arguments(std::move(arguments)), m_mode(mode) {}

void QtPlatform::information(QWidget* parent, const QString& title, const QString& text) {
  if (m_mode == Mode::unattended) return report(title, text);
  QMessageBox::information(parent, title, text);
}

void QtPlatform::warning(QWidget* parent, const QString& text) {
  if (m_mode == Mode::unattended) return report(QApplication::applicationName(), text);
  QMessageBox::warning(parent, QApplication::applicationName(), text);
}

std::optional<QString> QtPlatform::chooseFile(QWidget* parent, const OpenFileRequest& request) {
  if (m_mode == Mode::unattended) return std::nullopt;
  QFileDialog dialog(parent, request.title);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a name that does not exist may be typed
  dialog.setNameFilter(request.filter);
  dialog.setDefaultSuffix(request.defaultExtension);
  dialog.selectFile(request.initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void QtPlatform::beep(int frequencyHz, int durationMs) {
#ifdef Q_OS_WIN
  ::Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(durationMs));
#else
  // No tone generator here: the desktop's bell stands for both tones.
  (void)frequencyHz;
  (void)durationMs;
  QApplication::beep();
#endif
}

void QtPlatform::openWithRegisteredProgram(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtPlatform::wait(int milliseconds) {
  QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QString QtPlatform::programDirectory() const {
  return QDir::toNativeSeparators(QApplication::applicationDirPath());
}

QString QtPlatform::cacheDirectory() const {
  return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
}

QStringList QtPlatform::arguments() const {
  return m_arguments;
}

}  // namespace bivox::shell
