#include "shell/about_dialog.hpp"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "shell/dialog_text.hpp"
#include "shell/dialog_units.hpp"
#include "shell/program_icon.hpp"
#include "shell/shell_text.hpp"

namespace bivox::shell {

namespace {

struct StaticLine {
  std::string_view text;
  QRect units;
};

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setFont(dialogFont());
  const DialogUnits units(font());
  setWindowTitle(fromCp932(ui::kAboutCaption));
  setFixedSize(units.x(235), units.y(90));

  auto* icon = new QLabel(this);
  const QRect iconRect = units.toPixels({11, 17, 20, 20});
  icon->setGeometry(iconRect);
  icon->setPixmap(programIcon().pixmap(iconRect.size()));

  const StaticLine lines[] = {
      {ui::kAboutProduct, {50, 15, 57, 8}},  {ui::kAboutVersion, {65, 27, 69, 8}},
      {ui::kAboutPurpose, {50, 40, 180, 8}}, {ui::kAboutEdition, {66, 50, 160, 8}},
      {ui::kAboutHint, {50, 65, 180, 8}},
  };
  for (const StaticLine& line : lines) {
    auto* label = new QLabel(fromCp932(line.text), this);
    // Where the font at hand is wider than the one the box was drawn for, the line grows
    // rather than being cut.
    QRect rect = units.toPixels(line.units);
    rect.setWidth(std::max(rect.width(), label->sizeHint().width()));
    label->setGeometry(rect);
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setProperty("controlId", 1);
  ok->setGeometry(units.toPixels({178, 7, 50, 14}));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace bivox::shell
