#include "tools/model/AircraftFiles.h"

#include "tools/model/BmpWriter.h"
#include "tools/model/MilkshapeWriter.h"
#include "tools/model/SkinPainter.h"

bool WriteAircraftFiles(const std::string& dir, const AircraftBuilder::Result& aircraft) {
  return MilkshapeWriter::writeFile(dir + "/AEREO",
                                    MilkshapeWriter::write(aircraft.model, aircraft.names)) &&
         MilkshapeWriter::writeFile(dir + "/" + AircraftBuilder::kTextureName,
                                    BmpWriter::write(SkinPainter::paint()));
}
