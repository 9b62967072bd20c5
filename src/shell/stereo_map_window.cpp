#include "shell/stereo_map_window.hpp"

#include <QSvgRenderer>
#include <QSvgWidget>
#include <QVBoxLayout>

namespace bivox::shell {

StereoMapWindow::StereoMapWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("stereoMap"));
  m_view = new QSvgWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_view);
}

void StereoMapWindow::showMap(const QByteArray& svg, const QString& title) {
  m_svg = svg;
  m_view->load(svg);
  setWindowTitle(title);
  resize(m_view->renderer()->defaultSize());
  show();
  raise();
}

}  // namespace bivox::shell
