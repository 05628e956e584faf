#include "app/CTavrikApp.h"

int main(int argc, char** argv) {
  CTavrikApp app(argc, argv);
  return app.Run();
}
