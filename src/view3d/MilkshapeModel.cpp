#include "view3d/MilkshapeModel.h"

#include <utility>
#include <vector>

#include "view3d/model/FileBytes.h"
#include "view3d/model/MilkshapeReader.h"

bool MilkshapeModel::load(const std::string& filename) {
  std::vector<uint8_t> bytes;
  if (FileBytes::read(filename, bytes) != FileBytes::Result::Ok) return false;
  ModelData parsed;
  if (!MilkshapeReader::parse(bytes, parsed)) return false;
  deleteTextures();
  m_data = std::move(parsed);
  createTextures();
  return true;
}
