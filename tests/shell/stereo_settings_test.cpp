// The dialog's stereo items, used as a person would: the settings box from the window
// menu, remembered between runs, named in the lower display, and the stereo map window.
#include "shell/stereo_settings.hpp"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <functional>
#include <map>
#include <memory>

#include "fake_platform.hpp"
#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"
#include "shell/stereo_map_window.hpp"

namespace bivox::shell {
namespace {

// Pitches 48, 54 and 60 on track A, 36 on track B.
const QByteArray kScore = "#A0 x1 c4 f+ < c\r\n#B0 x1 o3 c\r\n";

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pan values of the output per track, in order.
std::map<QChar, QList<int>> pansByTrack(const QByteArray& output) {
  std::map<QChar, QList<int>> pans;
  static const QRegularExpression kPiece(QStringLiteral(R"(#([A-OZ])\d|@S([+-]?\d+))"));
  QChar track = QLatin1Char('A');
  for (const QRegularExpressionMatch& m : kPiece.globalMatch(QString::fromLatin1(output))) {
    if (m.hasCaptured(1)) {
      track = m.captured(1).at(0);
    } else {
      pans[track] << m.captured(2).toInt();
    }
  }
  return pans;
}

}  // namespace

class StereoSettingsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
  std::unique_ptr<FakePlatform> fake_;
  QString scorePath_;

  std::unique_ptr<MainDialog> start() {
    fake_->commandLine = QStringList{scorePath_};
    auto dialog = std::make_unique<MainDialog>(*fake_);
    fake_->window = dialog.get();
    fake_->events.clear();
    return dialog;
  }
  static void trigger(MainDialog& d, const char* name) {
    QAction* item = d.findChild<QAction*>(QLatin1String(name));
    QVERIFY(item != nullptr);
    QVERIFY(d.actions().contains(item));  // in the window's context menu
    item->trigger();
  }
  // Opens the settings box from the window menu and lets `fill` work on it while it runs.
  static void editSettings(MainDialog& d, const std::function<void(QDialog&)>& fill) {
    QTimer::singleShot(0, [fill] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      fill(*box);
      if (box->isVisible()) box->reject();
    });
    trigger(d, "stereoSettingsAction");
  }
  static void setFields(QDialog& box, const QString& pan, const QString& pitch,
                        const QString& leave) {
    box.findChild<QLineEdit*>(QStringLiteral("panRange"))->setText(pan);
    box.findChild<QLineEdit*>(QStringLiteral("pitchRange"))->setText(pitch);
    box.findChild<QLineEdit*>(QStringLiteral("leave"))->setText(leave);
  }
  static QStringList lowerLines(MainDialog& d) {
    const QString text =
        d.findChild<QPlainTextEdit*>(QStringLiteral("lowerDisplay"))->toPlainText();
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  QByteArray stereoOutput(MainDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("stereoButton"))->click();
    return readFile(d.currentFile());
  }

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    // Remembered settings go to the test's own folder, never to the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp_->filePath("config"));
    fake_ = std::make_unique<FakePlatform>();
    fake_->programDir = tmp_->path();
    fake_->cacheDir = tmp_->path();
    scorePath_ = QDir::toNativeSeparators(tmp_->filePath(QStringLiteral("song.zrb")));
    QFile score(scorePath_);
    QVERIFY(score.open(QIODevice::WriteOnly));
    score.write(kScore);
  }

  // A value that does not read keeps the box open and says why; accepted values shape the
  // next conversion, are named after the summary and are there after a restart.
  void settingsShapeTheConversionAndAreRemembered() {
    auto d = start();
    QVERIFY(d->stereoOptions().is_default());
    editSettings(*d, [](QDialog& box) {
      setFields(box, QStringLiteral("5..5"), QString(), QStringLiteral("B"));
      QMetaObject::invokeMethod(&box, "accept");
      QVERIFY(box.isVisible());
      QVERIFY(box.findChild<QLabel*>(QStringLiteral("problem"))->text().contains("differ"));
      setFields(box, QStringLiteral("32..-32"), QStringLiteral("C4..C5"), QStringLiteral("b"));
      QMetaObject::invokeMethod(&box, "accept");
      QVERIFY(box.isVisible());  // "b" is no track letter
      setFields(box, QStringLiteral("32..-32"), QStringLiteral("C4..C5"), QStringLiteral("B"));
      QMetaObject::invokeMethod(&box, "accept");
      QVERIFY(!box.isVisible());
    });
    QCOMPARE(d->stereoOptions().pan_left, 32);
    QCOMPARE(pansByTrack(stereoOutput(*d)), (std::map<QChar, QList<int>>{{'A', {30, 0, -30}}}));
    const QStringList lines = lowerLines(*d);
    QCOMPARE(lines.at(1),
             QStringLiteral("ステレオ化の設定：パンの範囲 32..-32、音域 C4..C5 (48..60)、"
                            "そのままのトラック B"));
    QCOMPARE(lines.first(), lines.last());

    d.reset();
    auto again = start();
    QCOMPARE(again->stereoOptions(), (StereoOptions{32, -32, PitchRange{48, 60}, "B"}));

    // Restored defaults: the whole field again, and no settings line.
    editSettings(*again, [](QDialog& box) {
      box.findChild<QPushButton*>(QStringLiteral("restoreDefaults"))->click();
      QCOMPARE(box.findChild<QLineEdit*>(QStringLiteral("panRange"))->text(), "-64..64");
      QMetaObject::invokeMethod(&box, "accept");
    });
    QVERIFY(again->stereoOptions().is_default());
    QCOMPARE(pansByTrack(stereoOutput(*again)),
             (std::map<QChar, QList<int>>{{'A', {0, 31, 62}}, {'B', {-62}}}));
    QCOMPARE(lowerLines(*again).size(), 2);
    QVERIFY(loadStereoOptions().is_default());
  }

  // The map window shows the last conversion: well-formed SVG that Qt renders, one bar per
  // placed track with the pans its notes received in the output.
  void mapWindowShowsTheLastConversion() {
    auto d = start();
    trigger(*d, "stereoMapAction");
    QCOMPARE(fake_->events.size(), 1);
    QVERIFY(fake_->events.first().startsWith(QStringLiteral("info ステレオマップ")));

    const std::map<QChar, QList<int>> pans = pansByTrack(stereoOutput(*d));
    trigger(*d, "stereoMapAction");
    auto* window = d->findChild<StereoMapWindow*>(QStringLiteral("stereoMap"));
    QVERIFY(window != nullptr && window->isVisible());
    QVERIFY(QSvgRenderer(window->svg()).isValid());

    std::map<QChar, QList<int>> bars;
    QXmlStreamReader xml(window->svg());
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      const QXmlStreamAttributes a = xml.attributes();
      if (xml.name() != QLatin1String("rect") || a.value("class") != QLatin1String("bar")) continue;
      bars[a.value("data-track").at(0)] = {a.value("data-lowest-pan").toInt(),
                                           a.value("data-highest-pan").toInt()};
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    std::map<QChar, QList<int>> ranges;
    for (const auto& [track, values] : pans) {
      ranges[track] = {*std::min_element(values.begin(), values.end()),
                       *std::max_element(values.begin(), values.end())};
    }
    QCOMPARE(bars, ranges);
  }
};

}  // namespace bivox::shell

QTEST_MAIN(bivox::shell::StereoSettingsTest)
#include "stereo_settings_test.moc"
