#include "shell/stereo_filter_app.hpp"

#include <QDeadlineTimer>
#include <QPixmap>
#include <cstdio>

#include "shell/dialog_text.hpp"
#include "shell/main_dialog.hpp"
#include "shell/program_icon.hpp"
#include "shell/qt_platform.hpp"
#include "shell/shell_text.hpp"

namespace bivox::shell {

namespace {

constexpr QLatin1StringView kScreenshotOption("--screenshot=");

// The focus is drawn only in the active window; a virtual display activates a shown window
// after a few events.
void showActive(QWidget& window) {
  window.show();
  window.activateWindow();
  const QDeadlineTimer deadline(2000);
  while (!window.isActiveWindow() && !deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
}

int saveScreenshot(MainDialog& dialog, const QString& png) {
  showActive(dialog);
  if (dialog.currentFile() != fromCp932(ui::kNoFile)) dialog.OnStereo();
  if (dialog.fatalStopped()) return 1;
  QApplication::processEvents();
  if (!dialog.grab().save(png)) {
    std::fprintf(stderr, "Bivox: cannot write %s\n", png.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

}  // namespace

StereoFilterApp::StereoFilterApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Bivox"));
  setWindowIcon(programIcon());
}

int StereoFilterApp::run() {
  QStringList arguments = QApplication::arguments().mid(1);
  QString screenshot;
  if (!arguments.isEmpty() && arguments.constFirst().startsWith(kScreenshotOption)) {
    screenshot = arguments.takeFirst().mid(kScreenshotOption.size());
  }
  QtPlatform platform(arguments, screenshot.isEmpty() ? QtPlatform::Mode::interactive
                                                      : QtPlatform::Mode::unattended);
  MainDialog dialog(platform);
  if (!screenshot.isEmpty()) return saveScreenshot(dialog, screenshot);
  dialog.exec();
  return dialog.fatalStopped() ? 1 : 0;
}

}  // namespace bivox::shell
