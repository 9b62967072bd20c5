// The dialog's handlers, run on the offscreen platform against a recording platform layer.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "fake_platform.hpp"
#include "shell/about_dialog.hpp"
#include "shell/dialog_units.hpp"
#include "shell/main_dialog.hpp"
#include "shell/qt_platform.hpp"
#include "shell/shell_text.hpp"
#include "text/messages.hpp"

namespace bivox::shell {
namespace {

QString u(std::string_view cp932) {
  return fromCp932(cp932);
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

QByteArray cp932(const QString& text) {
  return QByteArray::fromStdString(toCp932(text));
}

// A score that is understood whole, with a Japanese comment, and one whose parse stops at
// byte 7 of 14.
const QString kScore = QStringLiteral("/* 曲 */\r\nc4 d4 |\r\n");
const QString kStoppingScore = QStringLiteral("c4 d4\r\n}}} x\r\n");

}  // namespace

class DialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> tmp_;
  std::unique_ptr<FakePlatform> fake_;

  QString path(const QString& name) const { return QDir::toNativeSeparators(tmp_->filePath(name)); }
  QString score(const QString& name, const QString& text = kScore) {
    writeFile(path(name), cp932(text));
    return path(name);
  }
  QString guideText(int n) const { return QStringLiteral("案内その%1").arg(n); }
  static QString guidePath(const QString& dir, int n) {
    return dir + QStringLiteral("/案内/__Guide%1.txt").arg(n, 3, 10, QLatin1Char('0'));
  }

  std::unique_ptr<MainDialog> start(const QString& commandLine = {}) {
    fake_->arguments = commandLine;
    auto dialog = std::make_unique<MainDialog>(*fake_);
    fake_->window = dialog.get();
    return dialog;
  }

  static QPushButton* button(MainDialog& d, int id) {
    return d.findChild<QPushButton*>(QString::number(id));
  }
  static QPlainTextEdit* display(MainDialog& d, int id) {
    return d.findChild<QPlainTextEdit*>(QString::number(id));
  }
  static QComboBox* guideBox(MainDialog& d) {
    return d.findChild<QComboBox*>(QStringLiteral("1005"));
  }
  static QString upper(MainDialog& d) { return display(d, 1006)->toPlainText(); }
  static QString lower(MainDialog& d) { return display(d, 1007)->toPlainText(); }
  static QStringList lowerLines(MainDialog& d) {
    QStringList lines = lower(d).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
  }
  // Clears the recorded requests, then presses the button.
  void click(MainDialog& d, int id) {
    fake_->events.clear();
    button(d, id)->click();
  }
  QString guideShown(int n) const { return guideText(n) + QLatin1Char('\n'); }
  static void selectGuide(MainDialog& d, int index) {
    guideBox(d)->setCurrentIndex(index);
    emit guideBox(d)->activated(index);
  }
  static QString info(std::string_view title, const QString& text) {
    return QStringLiteral("info %1 | %2").arg(u(title), text);
  }
  static QString beep(int hz, const QString& caption) {
    return QStringLiteral("beep %1 100 @%2").arg(hz).arg(caption);
  }

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    fake_ = std::make_unique<FakePlatform>();
    fake_->programDir = path(QStringLiteral("prog"));
    fake_->cacheDir = path(QStringLiteral("cache"));
    QVERIFY(QDir().mkpath(fake_->programDir + QStringLiteral("/案内")));
    for (int n = 0; n <= 10; ++n) {
      writeFile(guidePath(fake_->programDir, n), cp932(guideText(n) + QStringLiteral("\r\n")));
    }
  }

  // Each button has its caption, Exit is the default; the displays only show; the guide box
  // offers its twelve items; the dialog's size comes from the dialog units.
  void controls() {
    auto d = start();
    const std::pair<int, std::string_view> captions[] = {
        {1000, msg::kChooseFileButton}, {1001, msg::kSyntaxButton}, {1002, msg::kExpandButton},
        {1003, msg::kStereoButton},     {1004, msg::kLaunchButton}, {1, msg::kExitButton}};
    for (const auto& [id, caption] : captions) {
      QCOMPARE(button(*d, id)->text(), u(caption));
      QCOMPARE(button(*d, id)->isDefault(), id == 1);
    }
    for (const int id : {1006, 1007}) {
      QVERIFY(display(*d, id)->isReadOnly());
      QCOMPARE(display(*d, id)->lineWrapMode(), QPlainTextEdit::NoWrap);
    }
    QVERIFY(guideBox(*d)->isEditable());
    QCOMPARE(guideBox(*d)->count(), 12);
    QCOMPARE(d->size(), DialogUnits(d->font()).toPixels({10, 10, 379, 300}).size());
    QVERIFY(!d->windowIcon().isNull());
  }

  void dialogUnitsRoundToThePixel() {
    const DialogUnits units(6, 13);
    QCOMPARE(units.toPixels({5, 18, 370, 160}), QRect(8, 29, 555, 260));
    QCOMPARE(units.x(1), 2);  // 1.5 rounds up
    QCOMPARE(units.y(3), 5);  // 4.875
  }

  // Without a command line no file is chosen, and the job and launch buttons say so.
  void startsWithoutCommandLine() {
    auto d = start();
    QCOMPARE(d->windowTitle(), u(msg::kNoFile));
    QCOMPARE(d->currentFile(), u(msg::kNoFile));
    QCOMPARE(d->launchFile(), u(msg::kNoFile));
    QVERIFY(upper(*d).isEmpty());
    QCOMPARE(lower(*d), guideShown(0));
    QCOMPARE(guideBox(*d)->currentIndex(), 0);
    QVERIFY(fake_->events.isEmpty());
    for (const int id : {1001, 1002, 1003, 1004}) {
      click(*d, id);
      QCOMPARE(fake_->events, QStringList{info(msg::kNoFileChosen, u(msg::kNoFileChosen))});
      QCOMPARE(d->windowTitle(), u(msg::kNoFile));
    }
  }

  void startsWithQuotedPath() {
    const QString file = score(QStringLiteral("my song.zrb"));
    auto d = start(QLatin1Char('"') + file + QLatin1Char('"'));
    QCOMPARE(fake_->events, QStringList{info(msg::kScoreReceived, file)});
    QCOMPARE(d->currentFile(), file);
    QCOMPARE(d->launchFile(), file);
    QCOMPARE(d->windowTitle(), file);
    QCOMPARE(upper(*d), QStringLiteral("/* 曲 */\nc4 d4 |\n"));
  }

  void refusesPathWithoutScoreExtension() {
    const QString file = score(QStringLiteral("song.Zrb"));
    auto d = start(file);
    QCOMPARE(fake_->events, QStringList{info(msg::kNotAScore, file)});
    QCOMPARE(d->currentFile(), u(msg::kNoFile));
    QCOMPARE(d->windowTitle(), u(msg::kNoFile));
    QVERIFY(upper(*d).isEmpty());
  }

  void syntaxTestKeepsTheInputCurrent() {
    const QString file = score(QStringLiteral("表 song.zrb"));
    auto d = start(file);
    click(*d, 1001);
    const QString output = path(QStringLiteral("_表 song.zrb"));
    QCOMPARE(fake_->events, (QStringList{beep(262, u(msg::kSyntaxRunning)), beep(330, file)}));
    QCOMPARE(d->currentFile(), file);
    QCOMPARE(d->windowTitle(), file);
    QCOMPARE(d->launchFile(), output);
    QCOMPARE(d->displayFile(), output);
    QVERIFY(QFile::exists(output));
    QCOMPARE(upper(*d),
             QString::fromLatin1(readFile(output)).replace(QStringLiteral("\r\n"), "\n"));
    const QString summary = QStringLiteral("[%1]の構文テストを完了しました。").arg(file);
    QCOMPARE(lowerLines(*d), (QStringList{summary, summary}));

    // The launch button now opens the syntax test's output.
    click(*d, 1004);
    QCOMPARE(fake_->events, (QStringList{beep(262, file), "open " + output, beep(330, file)}));
  }

  void stoppedParseShowsPositionsAndDiagnostics() {
    const QString file = score(QStringLiteral("stops.zrb"), kStoppingScore);
    auto d = start(file);
    click(*d, 1001);
    const QString summary =
        QStringLiteral("[%1][7][e]の構文テスト、処理を打ち切りしました。").arg(file);
    QCOMPARE(lowerLines(*d), (QStringList{summary, summary}));

    // The example score brings diagnostics, shown between the two summaries.
    QFile::copy(QStringLiteral(BIVOX_EXAMPLES_DIR "/minuet.zrb"),
                path(QStringLiteral("minuet.zrb")));
    fake_->chosenFile = path(QStringLiteral("minuet.zrb"));
    click(*d, 1000);
    click(*d, 1001);
    const QStringList lines = lowerLines(*d);
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.constFirst(), lines.constLast());
    QVERIFY(lines.constFirst().endsWith(QStringLiteral("の構文テストを完了しました。")));
  }

  void expansionThenStereoChainTheOutputs() {
    const QString file = score(QStringLiteral("song.zrb"));
    auto d = start(file);
    click(*d, 1002);
    const QString expanded = path(QStringLiteral("_song.zrb"));
    QCOMPARE(fake_->events,
             (QStringList{beep(262, u(msg::kExpandRunning0)),
                          "wait 100 @" + u(msg::kExpandRunning1), beep(330, expanded)}));
    QCOMPARE(d->currentFile(), expanded);
    QCOMPARE(d->launchFile(), expanded);
    QCOMPARE(lowerLines(*d).constFirst(),
             QStringLiteral("[%1]のマクロ展開を完了しました。").arg(expanded));

    click(*d, 1003);
    const QString stereo = path(QStringLiteral("__song.zrb"));
    QCOMPARE(fake_->events,
             (QStringList{beep(262, u(msg::kStereoRunning0)),
                          "wait 100 @" + u(msg::kStereoRunning1), beep(330, stereo)}));
    QCOMPARE(d->currentFile(), stereo);
    QCOMPARE(d->displayFile(), stereo);
    QVERIFY(upper(*d).contains(QStringLiteral("@S")));
    QCOMPARE(lowerLines(*d).constLast(),
             QStringLiteral("[%1]のステレオ化を完了しました。").arg(stereo));
  }

  void remembersChordsAcrossJobs() {
    // One session for the dialog's life: a chord repeat in a later score reproduces the
    // bracket chord of an earlier one.
    auto d = start(score(QStringLiteral("first.zrb"), QStringLiteral("[c d]4 |\r\n")));
    click(*d, 1002);
    fake_->chosenFile = score(QStringLiteral("second.zrb"), QStringLiteral(",4 |\r\n"));
    click(*d, 1000);
    click(*d, 1002);
    QVERIFY(readFile(path(QStringLiteral("_second.zrb"))).contains("[cd]4"));
  }

  void fatalStopEndsTheProgram() {
    // A macro body beyond the body buffer is a resource limit in the expansion.
    const QString file =
        score(QStringLiteral("huge.zrb"),
              QStringLiteral("$a{%1}\r\n${a}\r\n").arg(QString(20000, QLatin1Char('c'))));
    auto d = start(file);
    d->show();
    click(*d, 1002);
    QVERIFY(d->fatalStopped());
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(readFile(path(QStringLiteral("_huge.zrb"))).endsWith("Over!!!\r\n"));
  }

  void fileErrorIsShownInABox() {
    const QString file = score(QStringLiteral("song.zrb"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("_song.zrb"))));  // the output cannot be written
    auto d = start(file);
    click(*d, 1001);
    QCOMPARE(fake_->events.size(), 3);
    QVERIFY(fake_->events[1].startsWith(
        QStringLiteral("info %1 | %2\n").arg(u(msg::kError), path("_song.zrb"))));
    QCOMPARE(fake_->events[2], beep(330, file));
    QCOMPARE(d->currentFile(), file);
    QCOMPARE(d->launchFile(), file);
    QVERIFY(!d->fatalStopped());
  }

  void choosingAFile() {
    auto d = start();
    click(*d, 1000);  // cancelled
    QCOMPARE(fake_->events, (QStringList{"choose", beep(262, u(msg::kNoFile))}));
    QCOMPARE(fake_->lastRequest.title, u(msg::kOpenDialogTitle));
    QCOMPARE(fake_->lastRequest.initialName, u(msg::kOpenDialogInitialName));
    QCOMPARE(fake_->lastRequest.filter, QStringLiteral("Zerbo Files (*.zrb)"));
    QCOMPARE(fake_->lastRequest.defaultExtension, QStringLiteral("zrb"));
    QCOMPARE(lower(*d), guideShown(0));

    fake_->chosenFile = path(QStringLiteral("missing.zrb"));
    click(*d, 1000);
    QCOMPARE(fake_->events,
             (QStringList{"choose", info(msg::kFileMissingTitle, u(msg::kFileMissing)),
                          beep(262, u(msg::kNoFile))}));
    QCOMPARE(d->currentFile(), u(msg::kNoFile));

    const QString file = score(QStringLiteral("chosen.zrb"));
    fake_->chosenFile = file;
    click(*d, 1000);
    QCOMPARE(fake_->events, (QStringList{"choose", beep(262, file)}));
    QCOMPARE(d->currentFile(), file);
    QCOMPARE(d->launchFile(), file);
    QVERIFY(d->displayFile().isEmpty());
    QVERIFY(upper(*d).startsWith(QStringLiteral("/* 曲 */")));
    QCOMPARE(lowerLines(*d), QStringList{u(msg::kFileChosen)});

    // Without a job the launch button opens the chosen file.
    click(*d, 1004);
    QCOMPARE(fake_->events.at(1), "open " + file);
  }

  void guideSelection() {
    auto d = start();
    selectGuide(*d, 6);
    QCOMPARE(lower(*d), guideShown(6));
    QVERIFY(fake_->events.isEmpty());

    selectGuide(*d, 11);
    const QString html = fake_->programDir + QDir::separator() + QStringLiteral("Bivox.html");
    QCOMPARE(fake_->events,
             (QStringList{beep(262, u(msg::kNoFile)), "open " + html, beep(330, u(msg::kNoFile))}));
    QCOMPARE(lower(*d), guideShown(6));

    fake_->events.clear();
    const QString guide5 = guidePath(fake_->programDir, 5);
    QVERIFY(QFile::remove(guide5));
    selectGuide(*d, 5);
    QCOMPARE(fake_->events, QStringList{info(msg::kFileNotFound, guide5)});
    QCOMPARE(lower(*d), guideShown(6));
  }

  void aboutBoxFromTheContextMenu() {
    auto d = start();
    QAction* about = d->findChild<QAction*>(QStringLiteral("16"));
    QVERIFY(about);
    QVERIFY(d->actions().contains(about));
    QCOMPARE(d->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(about->text(), u(msg::kAboutMenuItem));
    QString shownTitle;
    QStringList cutLines;
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
      if (!box) return;
      shownTitle = box->windowTitle();
      for (const QLabel* label : box->findChildren<QLabel*>()) {
        if (label->width() < label->sizeHint().width()) cutLines << label->text();
      }
      auto* ok = box->findChild<QPushButton*>(QStringLiteral("1"));
      if (ok && ok->isDefault()) ok->click();
    });
    about->trigger();
    QCOMPARE(shownTitle, u(msg::kAboutCaption));
    QCOMPARE(cutLines, QStringList());
  }

  void returnInADisplayKeepsTheDialogOpen() {
    auto d = start();
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    display(*d, 1006)->setFocus();
    QTest::keyClick(display(*d, 1006), Qt::Key_Return);
    QVERIFY(d->isVisible());
    QTest::keyClick(button(*d, 1000), Qt::Key_Escape);
    QVERIFY(!d->isVisible());
  }

  void scratchFileFallsBackToTheCacheDirectory() {
    fake_->programDir = path(QStringLiteral("read-only program dir"));  // does not exist
    const QString file = score(QStringLiteral("song.zrb"));
    auto d = start(file);
    QCOMPARE(d->scratchFile(), fake_->cacheDir + QDir::separator() + QStringLiteral("Bivox.ini"));
    click(*d, 1001);
    QCOMPARE(lowerLines(*d).size(), 2);
    QVERIFY(QFile::exists(d->scratchFile()));
  }

  void unwritableScratchFileLeavesTheLowerDisplay() {
    auto d = start();
    fake_->cacheDir = QString();
    QVERIFY(QDir().mkpath(d->scratchFile()));  // a directory where the file should be
    d->ShowLines({"x"});
    QCOMPARE(lower(*d), guideShown(0));
  }

  void showFileAndLines() {
    auto d = start();
    writeFile(path(QStringLiteral("empty.zrb")), {});
    d->ShowFile(path(QStringLiteral("empty.zrb")), display(*d, 1006));
    QVERIFY(upper(*d).isEmpty());
    d->ShowLines({});
    QVERIFY(lower(*d).isEmpty());
    QVERIFY(fake_->events.isEmpty());

    QVERIFY(MainDialog::WriteLines({"a", "\x82\xa0"}, path(QStringLiteral("lines.txt"))));
    QCOMPARE(readFile(path(QStringLiteral("lines.txt"))), QByteArray("a\r\n\x82\xa0\r\n"));
  }

  // The extension is ".zrb" or ".ZRB", found anywhere in the path.
  void scoreExtension() {
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("a.zrb"), true},     {QStringLiteral("C:\\X.ZRB"), true},
        {QStringLiteral("a.zrb.txt"), true}, {QStringLiteral("A.Zrb"), false},
        {QStringLiteral("a.txt"), false},    {QString(), false}};
    for (const auto& [path, score] : cases) {
      QVERIFY2(MainDialog::HasScoreExtension(path) == score, qPrintable(path));
    }
  }

  void qtPlatformFindsItsOwnDirectory() {
    // This test program is not called Bivox: the directory is found all the same.
    const QtPlatform platform({QStringLiteral("a"), QStringLiteral("b.zrb")},
                              QtPlatform::Mode::unattended);
    QCOMPARE(platform.programDirectory(),
             QDir::toNativeSeparators(QApplication::applicationDirPath()));
    QCOMPARE(platform.commandLine(), QStringLiteral("a b.zrb"));
  }

  void guideFilesShipBesideTheProgram() {
    const QString dir = QStringLiteral(BIVOX_PROGRAM_DIR);
    for (int n = 0; n <= 10; ++n) {
      const QString guide = guidePath(dir, n);
      const QByteArray bytes = readFile(guide);
      QVERIFY2(!bytes.isEmpty(), qPrintable(guide));
      QVERIFY2(!u(bytes.toStdString()).contains(QChar(0xFFFD)), qPrintable(guide));
    }
    QVERIFY(readFile(dir + QStringLiteral("/Bivox.html")).contains("<html"));
  }
};

}  // namespace bivox::shell

QTEST_MAIN(bivox::shell::DialogTest)
#include "dialog_test.moc"
