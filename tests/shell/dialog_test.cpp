// The dialog's handlers, run on the offscreen platform against a recording platform layer,
// and the files that go with it on a desktop: its guide texts and HTML document, found in the
// portable and in the installed layout, and the icon that the desktop shows for it.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "bivox/bivox.hpp"
#include "shell/dialog_text.hpp"
#include "shell/main_dialog.hpp"
#include "shell/platform.hpp"
#include "shell/program_icon.hpp"
#include "shell/shell_text.hpp"
#include "shell/stereo_map_window.hpp"
#include "shell/stereo_settings.hpp"

namespace bivox::shell {

// A platform layer that records what the dialog asks of the desktop.
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

namespace {

QByteArray cp932(const QString& text) {
  return QByteArray::fromStdString(toCp932(text));
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString guidePath(const QString& dataDir, int n) {
  return dataDir + QStringLiteral("/案内/__Guide%1.txt").arg(n, 3, 10, QLatin1Char('0'));
}

// The eleven guide texts (cp932, CR LF) and an empty HTML document in the data directory.
void writeGuides(const QString& dataDir, const std::function<QString(int)>& text) {
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

QString lower(const MainDialog& d) {
  return control<QPlainTextEdit>(d, "lowerDisplay")->toPlainText();
}

void selectGuide(const MainDialog& d, int index) {
  auto* box = control<QComboBox>(d, "guideBox");
  box->setCurrentIndex(index);
  emit box->activated(index);
}

QString u(std::string_view cp932) {
  return fromCp932(cp932);
}

// A score that is understood whole, with a Japanese comment; one with three diagnostics;
// one with pitches 48, 54 and 60 on track A and 36 on track B.
const QString kScore = QStringLiteral("/* 曲 */\r\nc4 d4 |\r\n");
const QString kScoreWithDiagnostics = QStringLiteral("#A0 [dms]4 'C7'4 ,4\r\n");
const QString kTwoTracks = QStringLiteral("#A0 x1 c4 f+ < c\r\n#B0 x1 o3 c\r\n");
// A name with characters that cp932 lacks.
const QString kForeignName = QStringLiteral("café 한글.zrb");

// The items of the context menu that pops up when the widget is right-clicked at its centre.
QStringList contextMenuOf(QWidget* widget) {
  QStringList items;
  QTimer::singleShot(0, [&items] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (const QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      items << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    }
    menu->close();
  });
  QTest::mouseClick(widget->window()->windowHandle(), Qt::RightButton, {},
                    widget->mapTo(widget->window(), widget->rect().center()));
  return items;
}

// The stereo conversion of the score with the options, as the core makes it.
QByteArray stereoOutput(const QString& score, const StereoOptions& options) {
  JobOptions job;
  job.stereo = options;
  return QByteArray::fromStdString(Session().run(Job::stereo, toCp932(score), "", job).output);
}

// Opens the stereo settings box from the window menu, lets `fill` work on it while it runs.
void editStereoSettings(MainDialog& d, const std::function<void(QDialog&)>& fill) {
  QTimer::singleShot(0, [fill] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QVERIFY(box != nullptr);
    fill(*box);
    if (box->isVisible()) box->reject();
  });
  control<QAction>(d, "stereoSettingsAction")->trigger();
}

// Fills the pan range, pitch range and tracks left alone, then presses OK.
void acceptStereoSettings(QDialog& box, const QStringList& fields) {
  const char* names[] = {"panRange", "pitchRange", "leave"};
  for (int i = 0; i < 3; ++i)
    box.findChild<QLineEdit*>(QLatin1String(names[i]))->setText(fields[i]);
  QMetaObject::invokeMethod(&box, "accept");
}

}  // namespace

class DialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_tmp;
  std::unique_ptr<FakePlatform> m_fake;

  QString path(const QString& name) const {
    return QDir::toNativeSeparators(m_tmp->filePath(name));
  }
  QString score(const QString& name, const QString& text = kScore) {
    writeFile(path(name), cp932(text));
    return path(name);
  }

  std::unique_ptr<MainDialog> start(const QStringList& arguments = {}) {
    m_fake->commandLine = arguments;
    auto dialog = std::make_unique<MainDialog>(*m_fake);
    m_fake->window = dialog.get();
    return dialog;
  }

  static QString upper(MainDialog& d) {
    return control<QPlainTextEdit>(d, "upperDisplay")->toPlainText();
  }
  static QStringList lowerLines(MainDialog& d) {
    QStringList lines = lower(d).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
  }
  // Clears the recorded requests, then presses the button.
  void click(MainDialog& d, const char* button) {
    m_fake->events.clear();
    control(d, button)->click();
  }
  static QString guideShown(int n) { return QStringLiteral("案内その%1\n").arg(n); }
  static QString info(std::string_view title, const QString& text) {
    return QStringLiteral("info %1 | %2").arg(u(title), text);
  }
  static QString beep(int hz, const QString& caption) {
    return QStringLiteral("beep %1 100 @%2").arg(hz).arg(caption);
  }
  // Each guide text names the directory it lies in.
  static QString guideText(const QString& dataDir, int n) {
    return QStringLiteral("%1 案内その%2").arg(dataDir).arg(n);
  }

 private slots:
  void init() {
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    // Remembered settings go to the test's own folder, never to the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("config"));
    m_fake = std::make_unique<FakePlatform>();
    m_fake->programDir = path(QStringLiteral("prog"));
    m_fake->cacheDir = path(QStringLiteral("cache"));
    writeGuides(m_fake->programDir, guideShown);
  }

  // Without a command line no file is chosen, and the job and launch buttons say so. Then a
  // choice cancelled, a file that does not exist, and a score.
  void choosingAFile() {
    auto d = start();
    QCOMPARE(d->windowTitle(), u(ui::kNoFile));
    QCOMPARE(lower(*d), guideShown(0));
    QVERIFY(m_fake->events.isEmpty());
    for (const char* button : {"syntaxButton", "expandButton", "stereoButton", "launchButton"}) {
      click(*d, button);
      QCOMPARE(m_fake->events, QStringList{info(ui::kNoFileChosen, u(ui::kNoFileChosen))});
    }

    click(*d, "chooseFileButton");
    QCOMPARE(m_fake->events, (QStringList{"choose", beep(262, u(ui::kNoFile))}));
    QCOMPARE(m_fake->lastRequest.initialName, QStringLiteral("Zerboファイル.zrb"));
    QCOMPARE(m_fake->lastRequest.filter, QStringLiteral("Zerbo Files (*.zrb)"));

    m_fake->chosenFile = path(QStringLiteral("missing.zrb"));
    click(*d, "chooseFileButton");
    QCOMPARE(m_fake->events,
             (QStringList{"choose", info(ui::kFileMissingTitle, u(ui::kFileMissing)),
                          beep(262, u(ui::kNoFile))}));
    QCOMPARE(d->currentFile(), u(ui::kNoFile));

    const QString file = score(QStringLiteral("chosen.zrb"));
    m_fake->chosenFile = file;
    click(*d, "chooseFileButton");
    QCOMPARE(m_fake->events, (QStringList{"choose", beep(262, file)}));
    QCOMPARE(d->currentFile(), file);
    QVERIFY(upper(*d).startsWith(QStringLiteral("/* 曲 */")));
    QCOMPARE(lowerLines(*d), QStringList{u(ui::kFileChosen)});

    // Without a job the launch button opens the chosen file.
    click(*d, "launchButton");
    QCOMPARE(m_fake->events.at(1), "open " + file);
  }

  void spaceAtStartChoosesAFile() {
    auto d = start();
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    QCOMPARE(QApplication::focusWidget(), control(*d, "chooseFileButton"));
    QTest::keyClick(d->windowHandle(), Qt::Key_Space);
    QVERIFY(d->isVisible());
    QCOMPARE(m_fake->events, (QStringList{"choose", beep(262, u(ui::kNoFile))}));
  }

  // The arguments name one file exactly, runs of spaces included; a name that reached the
  // program split at its spaces is joined again.
  void commandLineNamesTheFileAsGiven() {
    const QString file = score(QStringLiteral("my  song.zrb"));
    auto d = start({file});
    QCOMPARE(m_fake->events, QStringList{info(ui::kScoreReceived, file)});
    QCOMPARE(d->windowTitle(), file);
    QCOMPARE(upper(*d), QStringLiteral("/* 曲 */\nc4 d4 |\n"));

    const QString split = score(QStringLiteral("a b.zrb"));
    QCOMPARE(start({path(QStringLiteral("a")), QStringLiteral("b.zrb")})->currentFile(), split);
  }

  void syntaxTestKeepsTheInputCurrent() {
    const QString file = score(QStringLiteral("表 song.zrb"));
    auto d = start({file});
    click(*d, "syntaxButton");
    const QString output = path(QStringLiteral("_表 song.zrb"));
    QCOMPARE(m_fake->events, (QStringList{beep(262, u(ui::kSyntaxRunning)), beep(330, file)}));
    QCOMPARE(d->currentFile(), file);
    QCOMPARE(upper(*d),
             QString::fromLatin1(readFile(output)).replace(QStringLiteral("\r\n"), "\n"));
    const QString summary = QStringLiteral("[%1]の構文テストを完了しました。").arg(file);
    QCOMPARE(lowerLines(*d), (QStringList{summary, summary}));

    // The launch button now opens the syntax test's output.
    click(*d, "launchButton");
    QCOMPARE(m_fake->events, (QStringList{beep(262, file), "open " + output, beep(330, file)}));
  }

  // The lower display holds the summary, the diagnostics in the order they were met, and the
  // summary again.
  void diagnosticsStandBetweenTheSummaries() {
    const QString file = score(QStringLiteral("chords.zrb"), kScoreWithDiagnostics);
    auto d = start({file});
    click(*d, "syntaxButton");
    const QString summary = QStringLiteral("[%1]の構文テストを完了しました。").arg(file);
    QCOMPARE(lowerLines(*d),
             (QStringList{summary, QStringLiteral("和音[]考慮願います。=[dms]"),
                          QStringLiteral("コード''考慮願います。=[C7]"),
                          QStringLiteral("再現がありました、展開して下さい"), summary}));
  }

  // Each two-pass job shows its second caption during the pause between the passes, and
  // makes its output the current file.
  void expansionThenStereoChainTheOutputs() {
    const QString file = score(QStringLiteral("song.zrb"));
    auto d = start({file});
    click(*d, "expandButton");
    const QString expanded = path(QStringLiteral("_song.zrb"));
    QCOMPARE(m_fake->events, (QStringList{beep(262, u(ui::kExpandRunning0)),
                                          QStringLiteral("wait 100 @") + u(ui::kExpandRunning1),
                                          beep(330, expanded)}));
    QCOMPARE(d->currentFile(), expanded);
    QCOMPARE(lowerLines(*d).constFirst(),
             QStringLiteral("[%1]のマクロ展開を完了しました。").arg(expanded));

    click(*d, "stereoButton");
    const QString stereo = path(QStringLiteral("__song.zrb"));
    QCOMPARE(m_fake->events, (QStringList{beep(262, u(ui::kStereoRunning0)),
                                          QStringLiteral("wait 100 @") + u(ui::kStereoRunning1),
                                          beep(330, stereo)}));
    QCOMPARE(d->currentFile(), stereo);
    QVERIFY(upper(*d).contains(QStringLiteral("@S")));
    QCOMPARE(lowerLines(*d).constLast(),
             QStringLiteral("[%1]のステレオ化を完了しました。").arg(stereo));

    // After a macro expansion the launch button opens the expanded file.
    click(*d, "launchButton");
    QCOMPARE(m_fake->events.at(1), "open " + stereo);
  }

  // A name outside cp932 shows whole in the boxes and the lower display; the scratch file
  // stays cp932.
  void foreignFileNameShowsWhole() {
    const QString file = score(kForeignName);
    auto d = start({file});
    QCOMPARE(m_fake->events, QStringList{info(ui::kScoreReceived, file)});
    click(*d, "stereoButton");
    const QString output = path(QLatin1Char('_') + kForeignName);
    QVERIFY(readFile(output).contains("@S"));
    const QString summary = QStringLiteral("[%1]のステレオ化を完了しました。").arg(output);
    QCOMPARE(lowerLines(*d), (QStringList{summary, summary}));
    const QByteArray line = cp932(summary) + "\r\n";
    QVERIFY(line.contains("caf? ??.zrb"));
    QCOMPARE(readFile(d->scratchFile()), line + line);
  }

  // A file that a job cannot use is named in the "エラー" box with the reason in Japanese;
  // nothing changes.
  void fileErrorsAreShownInJapanese() {
    const struct {
      bool (*arrange)(const QString& input, const QString& output);
      bool inputNamed;  // else the output is named
      QString reason;
    } cases[] = {
        {[](const QString&, const QString& output) { return QDir().mkpath(output); }, false,
         QStringLiteral("ファイルに書き込めません。")},
        {[](const QString& input, const QString&) { return QFile::remove(input); }, true,
         QStringLiteral("ファイルを読み込めません。")},
        {[](const QString& input, const QString& output) { return QFile::link(input, output); },
         false, QStringLiteral("出力先が入力ファイルと同じなので、書き込みません。")},
    };
    for (const auto& c : cases) {
      const QString folder = path(c.reason);
      QVERIFY(QDir().mkpath(folder));
      const QString file = score(c.reason + QLatin1Char('/') + kForeignName);
      const QString output = folder + QDir::separator() + QLatin1Char('_') + kForeignName;
      auto d = start({file});
      QVERIFY(c.arrange(file, output));
      click(*d, "syntaxButton");
      const QString named = c.inputNamed ? file : output;
      QCOMPARE(m_fake->events,
               (QStringList{beep(262, u(ui::kSyntaxRunning)),
                            info(ui::kError, named + '\n' + c.reason), beep(330, file)}));
      QCOMPARE(d->currentFile(), file);
    }
  }

  void remembersChordsAcrossJobs() {
    // One session for the dialog's life: a chord repeat in a later score reproduces the
    // bracket chord of an earlier one.
    auto d = start({score(QStringLiteral("first.zrb"), QStringLiteral("[c d]4 |\r\n"))});
    click(*d, "expandButton");
    m_fake->chosenFile = score(QStringLiteral("second.zrb"), QStringLiteral(",4 |\r\n"));
    click(*d, "chooseFileButton");
    click(*d, "expandButton");
    QVERIFY(readFile(path(QStringLiteral("_second.zrb"))).contains("[cd]4"));
  }

  void fatalStopEndsTheProgram() {
    // A macro body beyond the body buffer is a resource limit in the expansion.
    const QString file =
        score(QStringLiteral("huge.zrb"),
              QStringLiteral("$a{%1}\r\n${a}\r\n").arg(QString(20000, QLatin1Char('c'))));
    auto d = start({file});
    d->show();
    click(*d, "expandButton");
    QVERIFY(d->fatalStopped());
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(readFile(path(QStringLiteral("_huge.zrb"))).endsWith("Over!!!\r\n"));
  }

  // Each item of the guide box, by its name, shows its own guide text; the last one opens the
  // document between two beeps.
  void everyGuideItemShowsItsText() {
    const QString items[] = {
        QStringLiteral("簡単取扱説明"), QStringLiteral("Zerboファイル指定"),
        QStringLiteral("構文テスト"),   QStringLiteral("マクロ等展開"),
        QStringLiteral("ステレオ化"),   QStringLiteral("Zerbo起動"),
        QStringLiteral("このボックス"), QStringLiteral("終了"),
        QStringLiteral("簡単実行"),     QStringLiteral("お役に立てば"),
        QStringLiteral("補足説明"),     QStringLiteral("文書類"),
    };
    auto d = start();
    auto* box = control<QComboBox>(*d, "guideBox");
    QCOMPARE(box->count(), 12);
    for (int n = 10; n >= 0; --n) {
      QCOMPARE(box->itemText(n), items[n]);
      selectGuide(*d, n);
      QCOMPARE(lower(*d), guideShown(n));
    }
    QVERIFY(m_fake->events.isEmpty());

    QCOMPARE(box->itemText(11), items[11]);
    selectGuide(*d, 11);
    const QString html = m_fake->programDir + QDir::separator() + QStringLiteral("Bivox.html");
    QCOMPARE(m_fake->events,
             (QStringList{beep(262, u(ui::kNoFile)), "open " + html, beep(330, u(ui::kNoFile))}));
    QCOMPARE(lower(*d), guideShown(0));
  }

  // Right-clicking anywhere offers the about item (with the stereo items in the window's
  // menu); the displays and the guide box's edit field keep their own items above it.
  void aboutItemInEveryContextMenu() {
    auto d = start();
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    const QString about = QStringLiteral("Bivox のﾊﾞｰｼﾞｮﾝ情報(A)...");
    const QStringList windowMenu = contextMenuOf(control(*d, "stereoButton"));
    for (const QString& item : {about, QStringLiteral("ステレオ化の設定(S)..."),
                                QStringLiteral("ステレオマップ(M)...")}) {
      QVERIFY2(windowMenu.contains(item), qPrintable(windowMenu.join(' ')));
    }
    const QWidget* withOwnMenu[] = {
        control<QPlainTextEdit>(*d, "upperDisplay")->viewport(),
        control<QPlainTextEdit>(*d, "lowerDisplay")->viewport(),
        control<QComboBox>(*d, "guideBox")->lineEdit(),
    };
    for (const QWidget* widget : withOwnMenu) {
      const QStringList items = contextMenuOf(const_cast<QWidget*>(widget));
      QVERIFY2(items.contains(QStringLiteral("Copy")) &&
                   items.contains(QStringLiteral("Select All")) && items.constLast() == about,
               qPrintable(items.join(' ')));
    }

    QString aboutTitle;
    QTimer::singleShot(0, [&aboutTitle] {
      QWidget* box = QApplication::activeModalWidget();
      aboutTitle = box->windowTitle();
      box->close();
    });
    control<QAction>(*d, "aboutAction")->trigger();
    QCOMPARE(aboutTitle, QStringLiteral("Bivoxのﾊﾞｰｼﾞｮﾝ情報"));
  }

  // With the fonts at hand, every caption fits inside its control, between the margins that
  // the style puts around a button's label.
  void captionsFitTheirControls() {
    auto d = start();
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    const QList<QPushButton*> buttons = d->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 6);
    for (const QPushButton* button : buttons) {
      const QStyle* style = button->style();
      const int margins = style->pixelMetric(QStyle::PM_ButtonMargin) +
                          2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                          2 * style->pixelMetric(QStyle::PM_ButtonDefaultIndicator);
      const int needed = button->fontMetrics().horizontalAdvance(button->text()) + margins;
      QVERIFY2(
          needed <= button->width(),
          qPrintable(
              QStringLiteral("%1: %2 > %3").arg(button->text()).arg(needed).arg(button->width())));
    }
    const QLineEdit* field = control<QComboBox>(*d, "guideBox")->lineEdit();
    const QComboBox* box = control<QComboBox>(*d, "guideBox");
    for (int n = 0; n < box->count(); ++n) {
      QVERIFY2(field->fontMetrics().horizontalAdvance(box->itemText(n)) < field->width(),
               qPrintable(box->itemText(n)));
    }
  }

  void scratchFileFallsBackToTheCacheDirectory() {
    m_fake->programDir = path(QStringLiteral("read-only program dir"));  // does not exist
    const QString file = score(QStringLiteral("song.zrb"));
    auto d = start({file});
    QCOMPARE(d->scratchFile(), m_fake->cacheDir + QDir::separator() + QStringLiteral("Bivox.ini"));
    click(*d, "syntaxButton");
    QCOMPARE(lowerLines(*d).size(), 2);
    QVERIFY(QFile::exists(d->scratchFile()));
  }

  // A file whose name does not hold ".zrb" or ".ZRB" is refused.
  void notAScoreIsRefused() {
    const QString file = score(QStringLiteral("song.Zrb"));
    auto d = start({file});
    QCOMPARE(m_fake->events, QStringList{info(ui::kNotAScore, file)});
    QCOMPARE(d->currentFile(), u(ui::kNoFile));
  }

  // A value that does not read keeps the settings box open and says why; accepted values
  // shape the next conversion, are named after the summary and are there after a restart.
  void stereoSettingsShapeTheConversionAndAreRemembered() {
    const StereoOptions narrowed{32, -32, PitchRange{48, 60}, "B"};
    const QString file = score(QStringLiteral("song.zrb"), kTwoTracks);
    auto d = start({file});
    QVERIFY(d->stereoOptions().is_default());
    editStereoSettings(*d, [](QDialog& box) {
      acceptStereoSettings(box, {"5..5", "", "B"});
      QVERIFY(box.isVisible());
      QVERIFY(box.findChild<QLabel*>(QStringLiteral("problem"))->text().contains("differ"));
      acceptStereoSettings(box, {"32..-32", "C4..C5", "B"});
      QVERIFY(!box.isVisible());
    });
    click(*d, "stereoButton");
    QCOMPARE(readFile(d->currentFile()), stereoOutput(kTwoTracks, narrowed));
    const QStringList lines = lowerLines(*d);
    QCOMPARE(lines.at(1),
             QStringLiteral("ステレオ化の設定：パンの範囲 32..-32、音域 C4..C5 (48..60)、"
                            "そのままのトラック B"));
    QCOMPARE(lines.first(), lines.last());

    d.reset();
    auto again = start({file});
    QCOMPARE(again->stereoOptions(), narrowed);
    // Restored defaults: the whole field again, and no settings line.
    editStereoSettings(*again, [](QDialog& box) {
      box.findChild<QPushButton*>(QStringLiteral("restoreDefaults"))->click();
      QCOMPARE(box.findChild<QLineEdit*>(QStringLiteral("panRange"))->text(), "-64..64");
      QMetaObject::invokeMethod(&box, "accept");
    });
    QVERIFY(loadStereoOptions().is_default());
    click(*again, "stereoButton");
    QCOMPARE(readFile(again->currentFile()), stereoOutput(kTwoTracks, {}));
    QCOMPARE(lowerLines(*again).size(), 2);
  }

  // Before a conversion the map item says there is none; after it the map window shows the
  // placed tracks as SVG that Qt renders.
  void mapWindowShowsTheLastConversion() {
    auto d = start({score(QStringLiteral("song.zrb"), kTwoTracks)});
    m_fake->events.clear();
    control<QAction>(*d, "stereoMapAction")->trigger();
    QCOMPARE(m_fake->events.size(), 1);
    QVERIFY(m_fake->events.first().startsWith(QStringLiteral("info ステレオマップ")));

    click(*d, "stereoButton");
    control<QAction>(*d, "stereoMapAction")->trigger();
    auto* window = control<StereoMapWindow>(*d, "stereoMap");
    QVERIFY(window->isVisible());
    QVERIFY(QSvgRenderer(window->svg()).isValid());
    for (const char* bar : {R"(class="bar" data-track="A")", R"(class="bar" data-track="B")"}) {
      QVERIFY2(window->svg().contains(bar), bar);
    }
  }

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

QTEST_MAIN(bivox::shell::DialogTest)
#include "dialog_test.moc"
