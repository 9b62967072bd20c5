#pragma once

#include <QByteArray>
#include <QDialog>

class QSvgWidget;

namespace bivox::shell {

// A window that shows the stereo map of the last stereo conversion, the same picture that
// bivox-cli writes with --map. It stays open beside the dialog and follows later runs.
class StereoMapWindow : public QDialog {
  Q_OBJECT

 public:
  explicit StereoMapWindow(QWidget* parent);
  // The map as SVG bytes; the window takes the picture's own size.
  void showMap(const QByteArray& svg, const QString& title);
  const QByteArray& svg() const { return m_svg; }

 private:
  QSvgWidget* m_view = nullptr;
  QByteArray m_svg;
};

}  // namespace bivox::shell
