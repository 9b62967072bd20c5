#pragma once

#include <QApplication>

namespace bivox::shell {

// The application: runs the main dialog until it closes.
//   Bivox [SCORE]                      the dialog, with SCORE as the current file
//   Bivox --screenshot=PNG [SCORE]     unattended: show the dialog, run the stereo
//                                      conversion of SCORE, save the window as PNG, quit
class StereoFilterApp : public QApplication {
  Q_OBJECT

 public:
  StereoFilterApp(int& argc, char** argv);
  // The program's exit status: 1 after a fatal stop, else 0.
  int run();
};

}  // namespace bivox::shell
