// The main dialog: its controls, its start-up and the about item.
#include "shell/main_dialog.hpp"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "shell/about_dialog.hpp"
#include "shell/dialog_units.hpp"
#include "shell/program_icon.hpp"
#include "shell/shell_text.hpp"
#include "text/messages.hpp"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace bivox::shell {

namespace {

// The command id of the about item in the system menu.
constexpr unsigned kAboutCommand = 16;

// A read-only display without word wrap. Return stays with it instead of pressing the
// dialog's default button.
class ScoreDisplay : public QPlainTextEdit {
 public:
  explicit ScoreDisplay(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      event->accept();
      return;
    }
    QPlainTextEdit::keyPressEvent(event);
  }
};

struct ButtonLayout {
  int id;
  std::string_view caption;
  QRect units;
  void (MainDialog::*handler)();
};

const ButtonLayout kButtons[] = {
    {1000, msg::kChooseFileButton, {5, 2, 55, 14}, &MainDialog::OnChooseFile},
    {1001, msg::kSyntaxButton, {60, 2, 50, 14}, &MainDialog::OnSyntaxTest},
    {1002, msg::kExpandButton, {110, 2, 50, 14}, &MainDialog::OnExpandMacros},
    {1003, msg::kStereoButton, {160, 2, 50, 14}, &MainDialog::OnStereo},
    {1004, msg::kLaunchButton, {210, 2, 50, 14}, &MainDialog::OnLaunch},
};

const std::string_view kGuideItems[] = {
    msg::kGuideItem0, msg::kGuideItem1, msg::kGuideItem2,  msg::kGuideItem3,
    msg::kGuideItem4, msg::kGuideItem5, msg::kGuideItem6,  msg::kGuideItem7,
    msg::kGuideItem8, msg::kGuideItem9, msg::kGuideItem10, msg::kGuideItem11,
};

QString idName(int id) {
  return QString::number(id);
}

// A file can be made or rewritten at the path.
bool isWritableLocation(const QString& path) {
  const QFileInfo file(path);
  if (file.exists()) return file.isFile() && file.isWritable();
  const QFileInfo directory(file.absolutePath());
  return directory.isDir() && directory.isWritable();
}

}  // namespace

MainDialog::MainDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_session(std::make_unique<Session>()) {
  m_icon = programIcon();
  buildControls();
  addStereoItems();
  addAboutItem();
  setWindowIcon(m_icon);
  takeCommandLine();
  // The executable's own directory, whatever the executable is called.
  m_programDir = m_platform.programDirectory();
  chooseScratchFile();
  m_guideCombo->setCurrentIndex(0);
  ShowFile(guidePath(0), m_lowerDisplay);
}

MainDialog::~MainDialog() = default;

void MainDialog::buildControls() {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(fromCp932(msg::kDialogCaption));
  setFont(dialogFont());
  const DialogUnits units(font());
  const QRect frame = units.toPixels({10, 10, 379, 300});
  move(frame.topLeft());
  setFixedSize(frame.size());

  for (const ButtonLayout& layout : kButtons) {
    auto* button = new QPushButton(fromCp932(layout.caption), this);
    button->setObjectName(idName(layout.id));
    button->setGeometry(units.toPixels(layout.units));
    connect(button, &QPushButton::clicked, this, layout.handler);
  }

  m_guideCombo = new QComboBox(this);
  m_guideCombo->setObjectName(idName(1005));
  m_guideCombo->setEditable(true);
  m_guideCombo->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string_view item : kGuideItems) m_guideCombo->addItem(fromCp932(item));
  m_guideCombo->setMaxVisibleItems(m_guideCombo->count());
  // The template's height is that of the dropped-down list; the closed box is as high as a
  // button.
  m_guideCombo->setGeometry(units.toPixels({260, 2, 95, 14}));
  connect(m_guideCombo, &QComboBox::activated, this, &MainDialog::OnGuideSelected);

  auto* exitButton = new QPushButton(fromCp932(msg::kExitButton), this);
  exitButton->setObjectName(idName(1));
  exitButton->setGeometry(units.toPixels({355, 2, 20, 14}));
  exitButton->setDefault(true);
  connect(exitButton, &QPushButton::clicked, this, &QDialog::accept);

  m_upperDisplay = new ScoreDisplay(this);
  m_upperDisplay->setObjectName(idName(1006));
  m_upperDisplay->setGeometry(units.toPixels({5, 18, 370, 160}));
  m_lowerDisplay = new ScoreDisplay(this);
  m_lowerDisplay->setObjectName(idName(1007));
  m_lowerDisplay->setGeometry(units.toPixels({5, 180, 370, 115}));
}

// The about item goes into the system menu where the platform has one, and into the
// dialog's context menu elsewhere.
void MainDialog::addAboutItem() {
  const QString text = fromCp932(msg::kAboutMenuItem);
#ifdef Q_OS_WIN
  if (HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, reinterpret_cast<LPCWSTR>(text.utf16()));
  }
#else
  auto* about = new QAction(text, this);
  about->setObjectName(QString::number(kAboutCommand));
  connect(about, &QAction::triggered, this, &MainDialog::OnAbout);
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);
#endif
}

#ifdef Q_OS_WIN
bool MainDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  const auto* native = static_cast<const MSG*>(message);
  if (native->message == WM_SYSCOMMAND && (native->wParam & 0xFFF0) == kAboutCommand) {
    OnAbout();
    *result = 0;
    return true;
  }
  if (native->message == WM_SYSCOMMAND && stereoMenuCommand(native->wParam & 0xFFF0)) {
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(eventType, message, result);
}
#endif

// The whole command line is one path; a leading double quote goes with the last character.
void MainDialog::takeCommandLine() {
  QString path = m_platform.commandLine();
  if (path.isEmpty()) return showNoFile();
  if (path.startsWith(QLatin1Char('"'))) {
    path.remove(0, 1);
    path.chop(1);
  }
  m_currentFile = m_launchFile = path;
  if (!HasScoreExtension(path)) {
    information(msg::kNotAScore, path);
    return showNoFile();
  }
  information(msg::kScoreReceived, path);
  ShowFile(m_currentFile, m_upperDisplay);
  setWindowTitle(m_currentFile);
}

void MainDialog::showNoFile() {
  m_currentFile = m_launchFile = fromCp932(msg::kNoFile);
  setWindowTitle(m_currentFile);
}

// Beside the program; in the user's cache directory when the program's directory cannot be
// written (an installed program), so that the lower display still shows message lines.
void MainDialog::chooseScratchFile() {
  const QString name = fromCp932(msg::kScratchFile);
  m_scratchFile = programPath(m_programDir, name);
  if (isWritableLocation(m_scratchFile)) return;
  const QString cache = m_platform.cacheDirectory();
  QDir().mkpath(cache);
  m_scratchFile = programPath(cache, name);
}

void MainDialog::information(std::string_view title, const QString& text) {
  m_platform.information(this, fromCp932(title), text);
}

void MainDialog::OnAbout() {
  AboutDialog about(this);
  about.exec();
}

}  // namespace bivox::shell
