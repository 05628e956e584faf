#pragma once

#include <QString>

// Where the instruments find the pictures that the build draws for them.
namespace InstrumentResources {

// 799 x 800 sky-and-ground picture with the two pitch ladders (horizon at row 400).
inline QString AttitudePicture() {
  return QStringLiteral(":/instruments/attitude.png");
}

// 491 x 492 compass rose, 0 degrees at the top.
inline QString CompassRose() {
  return QStringLiteral(":/instruments/compass_rose.png");
}

}  // namespace InstrumentResources
