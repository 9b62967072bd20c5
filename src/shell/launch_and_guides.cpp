// The launch button and the guide box.
#include <QComboBox>
#include <QPlainTextEdit>

#include "shell/data_location.hpp"
#include "shell/dialog_text.hpp"
#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"

namespace bivox::shell {

namespace {

// The last item of the guide box opens the HTML document instead of a guide text.
constexpr int kDocumentItem = 11;

}  // namespace

void MainDialog::OnLaunch() {
  if (refuseWithoutFile()) return;
  m_platform.beep(262, 100);
  m_platform.openWithRegisteredProgram(m_launchFile);
  m_platform.beep(330, 100);
}

void MainDialog::OnGuideSelected() {
  const int index = m_guideCombo->currentIndex();
  if (index == kDocumentItem) {
    m_platform.beep(262, 100);
    m_platform.openWithRegisteredProgram(dataFilePath(m_programDir, fromCp932(ui::kHtmlDocument)));
    m_platform.beep(330, 100);
  } else if (index >= 0) {
    showFile(guidePath(index), m_lowerDisplay);
  }
}

QString MainDialog::guidePath(int index) const {
  return dataFilePath(
      m_programDir, QString::asprintf(fromCp932(ui::kGuideFileFormat).toUtf8().constData(), index));
}

}  // namespace bivox::shell
