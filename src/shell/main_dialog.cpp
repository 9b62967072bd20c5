// The main dialog: its controls, its start-up and the about item.
#include "shell/main_dialog.hpp"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "shell/about_dialog.hpp"
#include "shell/dialog_text.hpp"
#include "shell/dialog_units.hpp"
#include "shell/program_icon.hpp"
#include "shell/shell_text.hpp"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace bivox::shell {

namespace {

#ifdef Q_OS_WIN
// The command id of the about item in the system menu.
constexpr unsigned kAboutCommand = 16;
#endif

// A control with a menu of its own (Copy, Select All ...) that offers the about item below
// it, as the window's context menu does everywhere else.
template <class Control>
class WithAboutItem : public Control {
 public:
  WithAboutItem(QAction* about, QWidget* parent) : Control(parent), m_about(about) {}

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override {
    const std::unique_ptr<QMenu> menu(this->createStandardContextMenu());
    menu->addSeparator();
    menu->addAction(m_about);
    menu->exec(event->globalPos());
  }

 private:
  QAction* m_about;
};

// A read-only display without word wrap. Return stays with it instead of pressing the
// dialog's default button.
class ScoreDisplay : public WithAboutItem<QPlainTextEdit> {
 public:
  ScoreDisplay(QAction* about, QWidget* parent) : WithAboutItem(about, parent) {
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

// A control's place in the template: its id, and the object name that says what it is.
struct ControlName {
  int id;
  const char* objectName;
};

struct ButtonLayout {
  ControlName name;
  std::string_view caption;
  QRect units;
  void (MainDialog::*handler)();
};

// In tab order; the exit button follows the guide box.
const ButtonLayout kJobButtons[] = {
    {{1000, "chooseFileButton"}, ui::kChooseFileButton, {5, 2, 55, 14}, &MainDialog::OnChooseFile},
    {{1001, "syntaxButton"}, ui::kSyntaxButton, {60, 2, 50, 14}, &MainDialog::OnSyntaxTest},
    {{1002, "expandButton"}, ui::kExpandButton, {110, 2, 50, 14}, &MainDialog::OnExpandMacros},
    {{1003, "stereoButton"}, ui::kStereoButton, {160, 2, 50, 14}, &MainDialog::OnStereo},
    {{1004, "launchButton"}, ui::kLaunchButton, {210, 2, 50, 14}, &MainDialog::OnLaunch},
};
const ButtonLayout kExitButton = {
    {1, "exitButton"}, ui::kExitButton, {355, 2, 20, 14}, &MainDialog::accept};
constexpr ControlName kGuideBox = {1005, "guideBox"};
constexpr ControlName kUpperDisplay = {1006, "upperDisplay"};
constexpr ControlName kLowerDisplay = {1007, "lowerDisplay"};

const std::string_view kGuideItems[] = {
    ui::kGuideItem0, ui::kGuideItem1, ui::kGuideItem2,  ui::kGuideItem3,
    ui::kGuideItem4, ui::kGuideItem5, ui::kGuideItem6,  ui::kGuideItem7,
    ui::kGuideItem8, ui::kGuideItem9, ui::kGuideItem10, ui::kGuideItem11,
};

void setName(QWidget* control, const ControlName& name) {
  control->setObjectName(QLatin1StringView(name.objectName));
  control->setProperty("controlId", name.id);
}

QPushButton* addButton(MainDialog* dialog, const ButtonLayout& layout, const DialogUnits& units) {
  auto* button = new QPushButton(fromCp932(layout.caption), dialog);
  setName(button, layout.name);
  button->setGeometry(units.toPixels(layout.units));
  QObject::connect(button, &QPushButton::clicked, dialog, layout.handler);
  return button;
}

QPlainTextEdit* addDisplay(QWidget* dialog, QAction* about, const ControlName& name,
                           const QRect& geometry) {
  auto* display = new ScoreDisplay(about, dialog);
  setName(display, name);
  display->setGeometry(geometry);
  return display;
}

// A file can be made or rewritten at the path.
bool isWritableLocation(const QString& path) {
  const QFileInfo file(path);
  if (file.exists()) return file.isFile() && file.isWritable();
  const QFileInfo directory(file.absolutePath());
  return directory.isDir() && directory.isWritable();
}

}  // namespace

MessageLine MessageLine::ofCp932(std::string_view cp932) {
  return {std::string(cp932), fromCp932(cp932)};
}

MessageLine MessageLine::ofText(const QString& text) {
  return {toCp932(text), text};
}

MainDialog::MainDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_session(std::make_unique<Session>()) {
  m_icon = programIcon();
  buildControls();
  addStereoItems();
#ifdef Q_OS_WIN
  addAboutToSystemMenu();
#endif
  setWindowIcon(m_icon);
  takeCommandLine();
  // The executable's own directory, whatever the executable is called.
  m_programDir = m_platform.programDirectory();
  chooseScratchFile();
  m_guideCombo->setCurrentIndex(0);
  showFile(guidePath(0), m_lowerDisplay);
}

MainDialog::~MainDialog() = default;

void MainDialog::buildControls() {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(fromCp932(ui::kDialogCaption));
  const QFont font = dialogFont();
  const DialogUnits units(font);
  const QRect frame = units.toPixels({10, 10, 379, 300});
  move(frame.topLeft());
  setFixedSize(frame.size());

  // The window's context menu, wherever a control has no menu of its own.
  m_aboutAction = new QAction(fromCp932(ui::kAboutMenuItem), this);
  m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
  connect(m_aboutAction, &QAction::triggered, this, &MainDialog::OnAbout);
  addAction(m_aboutAction);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  // Created in tab order.
  QList<QPushButton*> buttons;
  for (const ButtonLayout& layout : kJobButtons) buttons << addButton(this, layout, units);
  addGuideBox(units.toPixels({260, 2, 95, 14}));
  buttons << addButton(this, kExitButton, units);
  buttons.constLast()->setDefault(true);
  m_upperDisplay =
      addDisplay(this, m_aboutAction, kUpperDisplay, units.toPixels({5, 18, 370, 160}));
  m_lowerDisplay =
      addDisplay(this, m_aboutAction, kLowerDisplay, units.toPixels({5, 180, 370, 115}));

  setFont(captionFittingFont(font, buttons));
  // The first tab stop starts with the focus. Left alone, Qt hands it to the default button
  // "終了" when the first tab stop is a push button, and Space would close the program.
  buttons.constFirst()->setFocus();
}

// The template's height is that of the dropped-down list; the closed box is as high as a
// button.
void MainDialog::addGuideBox(const QRect& geometry) {
  m_guideCombo = new QComboBox(this);
  setName(m_guideCombo, kGuideBox);
  m_guideCombo->setLineEdit(new WithAboutItem<QLineEdit>(m_aboutAction, m_guideCombo));
  m_guideCombo->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string_view item : kGuideItems) m_guideCombo->addItem(fromCp932(item));
  m_guideCombo->setMaxVisibleItems(m_guideCombo->count());
  m_guideCombo->setGeometry(geometry);
  connect(m_guideCombo, &QComboBox::activated, this, &MainDialog::OnGuideSelected);
}

#ifdef Q_OS_WIN
// Windows users look for the about item in the system menu as well.
void MainDialog::addAboutToSystemMenu() {
  const QString text = fromCp932(ui::kAboutMenuItem);
  if (HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, reinterpret_cast<LPCWSTR>(text.utf16()));
  }
}

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

// The arguments after the program's name, as the system handed them over, name one file. A
// name with spaces that reached the program unquoted, and so split, is joined again.
void MainDialog::takeCommandLine() {
  const QString path = m_platform.arguments().join(QLatin1Char(' '));
  if (path.isEmpty()) return showNoFile();
  m_currentFile = m_launchFile = path;
  if (!hasScoreExtension(path)) {
    information(ui::kNotAScore, path);
    return showNoFile();
  }
  information(ui::kScoreReceived, path);
  showFile(m_currentFile, m_upperDisplay);
  setWindowTitle(m_currentFile);
}

void MainDialog::showNoFile() {
  m_currentFile = m_launchFile = fromCp932(ui::kNoFile);
  setWindowTitle(m_currentFile);
}

// Beside the program; in the user's cache directory when the program's directory cannot be
// written (an installed program), so that the lower display still shows message lines.
void MainDialog::chooseScratchFile() {
  const QString name = fromCp932(ui::kScratchFile);
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
