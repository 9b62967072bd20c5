#pragma once

#include <QFont>
#include <QRect>

namespace bivox::shell {

// The dialog's font: the one the layout was drawn for, with Japanese fallbacks.
QFont dialogFont();

// Converts dialog-template units to pixels with the metrics of the dialog's font: a
// horizontal unit is a quarter of the average character width, a vertical unit an eighth of
// the character height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  DialogUnits(int averageCharWidth, int charHeight)
      : averageCharWidth_(averageCharWidth), charHeight_(charHeight) {}

  int x(int units) const;
  int y(int units) const;
  QRect toPixels(const QRect& units) const;

 private:
  int averageCharWidth_;
  int charHeight_;
};

}  // namespace bivox::shell
