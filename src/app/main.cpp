#include "app/CTavrikApp.h"
#include "map/MapStartup.h"

int main(int argc, char** argv) {
  // The map page's scheme and shared GL contexts must be in place before the
  // application object exists.
  PrepareMapBeforeApplication();
  CTavrikApp app(argc, argv);
  return app.Run();
}
