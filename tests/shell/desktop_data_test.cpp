// The files that go with the dialog on a desktop: its guide texts and HTML document, found
// in the portable and in the installed layout, and the icon that the desktop shows for it.
#include <QImage>
#include <QTemporaryDir>

#include "dialog_support.hpp"
#include "shell/dialog_text.hpp"
#include "shell/program_icon.hpp"

namespace bivox::shell {

class DesktopDataTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir tmp_;

  QString path(const QString& relative) const {
    return QDir::toNativeSeparators(tmp_.filePath(relative));
  }
  // Each guide text names the directory it lies in.
  static QString guideText(const QString& dataDir, int n) {
    return QStringLiteral("%1 案内その%2").arg(dataDir).arg(n);
  }

 private slots:
  // Beside the executable, in ../share/bivox, or both (beside the executable first). A guide
  // that is in neither place is reported in ../share/bivox when that exists.
  void guideFilesAreFoundInEachLayout() {
    const struct {
      QString programDir;
      QStringList dataDirs;
      QString usedDir;
      QString missingDir;
    } layouts[] = {
        {"portable", {"portable"}, "portable", "portable"},
        {"usr/bin", {"usr/share/bivox"}, "usr/share/bivox", "usr/share/bivox"},
        {"opt/bin", {"opt/share/bivox", "opt/bin"}, "opt/bin", "opt/share/bivox"},
    };
    for (const auto& [programDir, dataDirs, usedDir, missingDir] : layouts) {
      for (const QString& dir : dataDirs) {
        writeGuides(path(dir), [&](int n) { return guideText(path(dir), n); });
      }
      FakePlatform fake;
      fake.programDir = path(programDir);
      fake.cacheDir = path(QStringLiteral("cache"));
      QVERIFY(QDir().mkpath(fake.programDir));
      MainDialog d(fake);
      const QString dataDir = path(usedDir);
      QCOMPARE(lower(d), guideText(dataDir, 0));
      selectGuide(d, 10);
      QCOMPARE(lower(d), guideText(dataDir, 10));
      selectGuide(d, 11);
      QVERIFY(fake.events.contains("open " + dataDir + QDir::separator() + "Bivox.html"));

      fake.events.clear();
      for (const QString& dir : dataDirs) QVERIFY(QFile::remove(guidePath(path(dir), 5)));
      selectGuide(d, 5);
      QCOMPARE(fake.events,
               QStringList{QStringLiteral("info %1 | %2")
                               .arg(fromCp932(ui::kFileNotFound),
                                    QDir::toNativeSeparators(guidePath(path(missingDir), 5)))});
    }
  }

  // The icon files installed for the desktop show the drawing of the window icon.
  void iconFileLooksLikeTheWindowIcon() {
    const QString png = QStringLiteral(BIVOX_ICON_PNG_48);
    if (png.isEmpty()) QSKIP("this build makes no desktop icons");
    const QImage file = QImage(png).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage drawn =
        programIcon().pixmap(48).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(file.size(), QSize(48, 48));
    QCOMPARE(drawn.size(), QSize(48, 48));
    // Edges are smoothed a little differently by the two renderers; a shape or a colour
    // out of place differs by far more.
    int differing = 0;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        const QRgb a = file.pixel(x, y);
        const QRgb b = drawn.pixel(x, y);
        const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
        if (d > 64) ++differing;
      }
    }
    QVERIFY2(differing <= 20, qPrintable(QString::number(differing)));
  }
};

}  // namespace bivox::shell

QTEST_MAIN(bivox::shell::DesktopDataTest)
#include "desktop_data_test.moc"
