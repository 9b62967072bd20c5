#pragma once

#include <QFont>
#include <QList>
#include <QRect>

class QPushButton;

namespace bivox::shell {

// The font the layout was drawn for, with Japanese fallbacks: dialog units are measured with
// it.
QFont dialogFont();

// The font at the largest size, from its own down in half points, at which every button's
// caption fits inside the button, between the margins that the style puts around a label.
QFont captionFittingFont(QFont font, const QList<QPushButton*>& buttons);

// Converts dialog-template units to pixels with the metrics of the dialog's font: a
// horizontal unit is a quarter of the average character width, a vertical unit an eighth of
// the character height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int x(int units) const;
  int y(int units) const;
  QRect toPixels(const QRect& units) const;

 private:
  int m_averageCharWidth;
  int m_charHeight;
};

}  // namespace bivox::shell
