#include "shell/dialog_units.hpp"

#include <QFontMetrics>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

#include "shell/dialog_text.hpp"
#include "shell/shell_text.hpp"

namespace bivox::shell {

namespace {

// value * numerator / denominator, rounded to the nearest integer (values are never negative).
int scaleRounded(int value, int numerator, int denominator) {
  return (2 * value * numerator + denominator) / (2 * denominator);
}

// The width that the button's style puts around its label: frame, margins and the default
// button's indicator.
int labelMargins(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
  // Without a text the style adds no minimum width of its own, only the margins.
  return button.style()
      ->sizeFromContents(QStyle::CT_PushButton, &option, QSize(0, 0), &button)
      .width();
}

bool captionsFit(const QFont& font, const QList<QPushButton*>& buttons) {
  const QFontMetrics metrics(font);
  return std::ranges::all_of(buttons, [&](const QPushButton* button) {
    return metrics.horizontalAdvance(button->text()) + labelMargins(*button) <= button->width();
  });
}

}  // namespace

QFont dialogFont() {
  QFont font;
  font.setFamilies(QStringList{fromCp932(ui::kDialogFont), QStringLiteral("MS PGothic"),
                               QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                               QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  return font;
}

QFont captionFittingFont(QFont font, const QList<QPushButton*>& buttons) {
  constexpr qreal kStep = 0.5;
  constexpr qreal kSmallest = 6;
  for (qreal size = font.pointSizeF(); size > kSmallest; size -= kStep) {
    font.setPointSizeF(size);
    if (captionsFit(font, buttons)) return font;
  }
  font.setPointSizeF(kSmallest);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 Latin letters, rounded.
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_averageCharWidth = (letters / 26 + 1) / 2;
  m_charHeight = metrics.height();
}

int DialogUnits::x(int units) const {
  return scaleRounded(units, m_averageCharWidth, 4);
}

int DialogUnits::y(int units) const {
  return scaleRounded(units, m_charHeight, 8);
}

QRect DialogUnits::toPixels(const QRect& units) const {
  return {x(units.x()), y(units.y()), x(units.width()), y(units.height())};
}

}  // namespace bivox::shell
