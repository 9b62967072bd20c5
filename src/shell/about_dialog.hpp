#pragma once

#include <QDialog>

namespace bivox::shell {

// The version box: icon, product, version, three lines about the program, and "OK".
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace bivox::shell
