// Bivox: the dialog for the syntax test, macro expansion and stereo conversion of scores.
#include "shell/stereo_filter_app.hpp"

int main(int argc, char** argv) {
  bivox::shell::StereoFilterApp app(argc, argv);
  return app.run();
}
