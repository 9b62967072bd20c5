#include "shell/dialog_units.hpp"

#include <QFontMetrics>
#include <QStringList>

#include "shell/shell_text.hpp"
#include "text/messages.hpp"

namespace bivox::shell {

namespace {

// value * numerator / denominator, rounded to the nearest integer (values are never negative).
int scaleRounded(int value, int numerator, int denominator) {
  return (2 * value * numerator + denominator) / (2 * denominator);
}

}  // namespace

QFont dialogFont() {
  QFont font;
  font.setFamilies(QStringList{fromCp932(msg::kDialogFont), QStringLiteral("MS PGothic"),
                               QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                               QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 Latin letters, rounded.
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  averageCharWidth_ = (letters / 26 + 1) / 2;
  charHeight_ = metrics.height();
}

int DialogUnits::x(int units) const {
  return scaleRounded(units, averageCharWidth_, 4);
}

int DialogUnits::y(int units) const {
  return scaleRounded(units, charHeight_, 8);
}

QRect DialogUnits::toPixels(const QRect& units) const {
  return {x(units.x()), y(units.y()), x(units.width()), y(units.height())};
}

}  // namespace bivox::shell
