// The stereo items of the window menu: the settings box and the stereo map, and what a
// stereo conversion leaves for them.
#include <QAction>
#include <QFileInfo>

#include "shell/main_dialog.hpp"
#include "shell/shell_text.hpp"
#include "shell/stereo_map_window.hpp"
#include "shell/stereo_settings.hpp"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace bivox::shell {

namespace {

// The system-menu command ids of the two items (multiples of 16, beside the about item's).
constexpr unsigned kSettingsCommand = 32;
constexpr unsigned kMapCommand = 48;

struct StereoItem {
  unsigned id;
  const char* name;
  const char16_t* text;
  void (MainDialog::*handler)();
};

const StereoItem kStereoItems[] = {
    {kSettingsCommand, "stereoSettingsAction", u"ステレオ化の設定(&S)...",
     &MainDialog::onStereoSettings},
    {kMapCommand, "stereoMapAction", u"ステレオマップ(&M)...", &MainDialog::onStereoMap},
};

}  // namespace

void MainDialog::addStereoItems() {
  m_stereo = loadStereoOptions();
#ifdef Q_OS_WIN
  if (HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const StereoItem& item : kStereoItems) {
      AppendMenuW(menu, MF_STRING, item.id, reinterpret_cast<LPCWSTR>(item.text));
    }
  }
#else
  for (const StereoItem& item : kStereoItems) {
    auto* action = new QAction(QString::fromUtf16(item.text), this);
    action->setObjectName(QLatin1String(item.name));
    connect(action, &QAction::triggered, this, item.handler);
    addAction(action);
  }
#endif
}

bool MainDialog::stereoMenuCommand(unsigned id) {
  for (const StereoItem& item : kStereoItems) {
    if (item.id != id) continue;
    (this->*item.handler)();
    return true;
  }
  return false;
}

void MainDialog::onStereoSettings() {
  StereoSettingsDialog box(m_stereo, this);
  if (box.exec() != QDialog::Accepted) return;
  m_stereo = box.options();
  saveStereoOptions(m_stereo);
}

void MainDialog::onStereoMap() {
  if (!m_placement) {
    m_platform.information(this, QStringLiteral("ステレオマップ"),
                           QStringLiteral("ステレオ化の後に表示できます。"));
    return;
  }
  if (m_mapWindow == nullptr) m_mapWindow = new StereoMapWindow(this);
  const std::string svg = stereo_map_svg(*m_placement, m_placementName.toStdString());
  m_mapWindow->showMap(QByteArray::fromStdString(svg),
                       QStringLiteral("ステレオマップ - ") + m_placementName);
}

void MainDialog::takeStereoResult(const JobResult& result, std::vector<MessageLine>& lines) {
  m_placement = result.placement;
  m_placementName = QFileInfo(fromNativePath(result.name)).fileName();
  const QString settings = stereoSettingsLine(result.placement.options);
  if (!settings.isEmpty()) lines.insert(lines.begin() + 1, MessageLine::ofText(settings));
  if (m_mapWindow != nullptr && m_mapWindow->isVisible()) onStereoMap();
}

}  // namespace bivox::shell
