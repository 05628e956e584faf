// tavrik-model DIR: writes the 3D window's aircraft as DIR/AEREO and its skin
// texture as DIR/aereo.bmp.
#include <cstdio>
#include <string>

#include "tools/model/AircraftBuilder.h"
#include "tools/model/AircraftFiles.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::fprintf(stderr, "usage: tavrik-model DIR\n  writes DIR/AEREO and DIR/%s\n",
                 AircraftBuilder::kTextureName);
    return argc == 2 ? 0 : 2;
  }
  const std::string dir = argv[1];
  const AircraftBuilder::Result aircraft = AircraftBuilder::build();
  const std::string modelPath = dir + "/AEREO";
  const std::string texturePath = dir + "/" + AircraftBuilder::kTextureName;
  if (!WriteAircraftFiles(dir, aircraft)) {
    std::fprintf(stderr, "tavrik-model: cannot write into %s\n", dir.c_str());
    return 1;
  }
  std::printf("%s: %zu triangles, %zu vertices, %zu materials; %s\n", modelPath.c_str(),
              aircraft.model.triangles.size(), aircraft.model.vertices.size(),
              aircraft.model.materials.size(), texturePath.c_str());
  return 0;
}
