// The dialog's handlers, run on the offscreen platform against a recording platform layer.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "fake_platform.hpp"
#include "shell/main_dialog.hpp"
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
  static QString guidePath(const QString& dir, int n) {
    return dir + QStringLiteral("/案内/__Guide%1.txt").arg(n, 3, 10, QLatin1Char('0'));
  }

  std::unique_ptr<MainDialog> start(const QString& commandLine = {}) {
    fake_->arguments = commandLine;
    auto dialog = std::make_unique<MainDialog>(*fake_);
    fake_->window = dialog.get();
    return dialog;
  }

  template <class Widget = QPushButton>
  static Widget* child(MainDialog& d, int id) {
    return d.findChild<Widget*>(QString::number(id));
  }
  static QString upper(MainDialog& d) { return child<QPlainTextEdit>(d, 1006)->toPlainText(); }
  static QString lower(MainDialog& d) { return child<QPlainTextEdit>(d, 1007)->toPlainText(); }
  static QStringList lowerLines(MainDialog& d) {
    QStringList lines = lower(d).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
  }
  // Clears the recorded requests, then presses the button.
  void click(MainDialog& d, int id) {
    fake_->events.clear();
    child(d, id)->click();
  }
  static QString guideShown(int n) { return QStringLiteral("案内その%1\n").arg(n); }
  static void selectGuide(MainDialog& d, int index) {
    auto* box = child<QComboBox>(d, 1005);
    box->setCurrentIndex(index);
    emit box->activated(index);
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
      writeFile(guidePath(fake_->programDir, n),
                cp932(guideShown(n).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
    }
  }

  // Without a command line no file is chosen, and the job and launch buttons say so.
  void startsWithoutCommandLine() {
    auto d = start();
    QCOMPARE(d->windowTitle(), u(msg::kNoFile));
    QCOMPARE(d->currentFile(), u(msg::kNoFile));
    QCOMPARE(lower(*d), guideShown(0));
    QVERIFY(fake_->events.isEmpty());
    for (const int id : {1001, 1002, 1003, 1004}) {
      click(*d, id);
      QCOMPARE(fake_->events, QStringList{info(msg::kNoFileChosen, u(msg::kNoFileChosen))});
    }
  }

  void startsWithQuotedPath() {
    const QString file = score(QStringLiteral("my song.zrb"));
    auto d = start(QLatin1Char('"') + file + QLatin1Char('"'));
    QCOMPARE(fake_->events, QStringList{info(msg::kScoreReceived, file)});
    QCOMPARE(d->windowTitle(), file);
    QCOMPARE(upper(*d), QStringLiteral("/* 曲 */\nc4 d4 |\n"));
  }

  void syntaxTestKeepsTheInputCurrent() {
    const QString file = score(QStringLiteral("表 song.zrb"));
    auto d = start(file);
    click(*d, 1001);
    const QString output = path(QStringLiteral("_表 song.zrb"));
    QCOMPARE(fake_->events, (QStringList{beep(262, u(msg::kSyntaxRunning)), beep(330, file)}));
    QCOMPARE(d->currentFile(), file);
    QCOMPARE(upper(*d),
             QString::fromLatin1(readFile(output)).replace(QStringLiteral("\r\n"), "\n"));
    const QString summary = QStringLiteral("[%1]の構文テストを完了しました。").arg(file);
    QCOMPARE(lowerLines(*d), (QStringList{summary, summary}));

    // The launch button now opens the syntax test's output.
    click(*d, 1004);
    QCOMPARE(fake_->events, (QStringList{beep(262, file), "open " + output, beep(330, file)}));
  }

  void stoppedParseShowsItsPositionsInHex() {
    const QString file = score(QStringLiteral("stops.zrb"), kStoppingScore);
    auto d = start(file);
    click(*d, 1001);
    const QString summary =
        QStringLiteral("[%1][7][e]の構文テスト、処理を打ち切りしました。").arg(file);
    QCOMPARE(lowerLines(*d), (QStringList{summary, summary}));
  }

  void expansionThenStereoChainTheOutputs() {
    const QString file = score(QStringLiteral("song.zrb"));
    auto d = start(file);
    click(*d, 1002);
    const QString expanded = path(QStringLiteral("_song.zrb"));
    QCOMPARE(d->currentFile(), expanded);
    QCOMPARE(lowerLines(*d).constFirst(),
             QStringLiteral("[%1]のマクロ展開を完了しました。").arg(expanded));

    click(*d, 1003);
    const QString stereo = path(QStringLiteral("__song.zrb"));
    QCOMPARE(d->currentFile(), stereo);
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
  }

  void choosingAFile() {
    auto d = start();
    click(*d, 1000);  // cancelled
    QCOMPARE(fake_->events, (QStringList{"choose", beep(262, u(msg::kNoFile))}));
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

  void linesAreWrittenAsCp932WithCrLf() {
    QVERIFY(MainDialog::WriteLines({"a", "\x82\xa0"}, path(QStringLiteral("lines.txt"))));
    QCOMPARE(readFile(path(QStringLiteral("lines.txt"))), QByteArray("a\r\n\x82\xa0\r\n"));
  }

  // The extension is ".zrb" or ".ZRB", found anywhere in the path; others are refused.
  void scoreExtension() {
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("a.zrb"), true},     {QStringLiteral("C:\\X.ZRB"), true},
        {QStringLiteral("a.zrb.txt"), true}, {QStringLiteral("A.Zrb"), false},
        {QStringLiteral("a.txt"), false},    {QString(), false}};
    for (const auto& [path, score] : cases) {
      QVERIFY2(MainDialog::HasScoreExtension(path) == score, qPrintable(path));
    }
    const QString file = score(QStringLiteral("song.Zrb"));
    auto d = start(file);
    QCOMPARE(fake_->events, QStringList{info(msg::kNotAScore, file)});
    QCOMPARE(d->currentFile(), u(msg::kNoFile));
  }
};

}  // namespace bivox::shell

QTEST_MAIN(bivox::shell::DialogTest)
#include "dialog_test.moc"
