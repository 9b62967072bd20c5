#include "shell/program_icon.hpp"

#include <QPainter>
#include <QPixmap>

namespace bivox::shell {

namespace {

QPixmap drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2f, 0x5d, 0x9e));
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

  // The note: a head and a stem.
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(11, 18, 8, 6));
  p.drawRect(QRectF(17.2, 7, 1.8, 14));

  // Sound waves to the left and to the right.
  QPen wave(QColor(0xff, 0xd0, 0x4a), 2, Qt::SolidLine, Qt::RoundCap);
  p.setPen(wave);
  p.setBrush(Qt::NoBrush);
  for (const double r : {5.0, 9.0}) {
    p.drawArc(QRectF(9 - r, 16 - r, 2 * r, 2 * r), 135 * 16, 90 * 16);
    p.drawArc(QRectF(23 - r, 16 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
  return pixmap;
}

}  // namespace

QIcon programIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64}) icon.addPixmap(drawIcon(size));
  return icon;
}

}  // namespace bivox::shell
