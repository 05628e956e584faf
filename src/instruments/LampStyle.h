#pragma once

#include <QColor>

// Appearance of a LampArray. The defaults are those of a freshly built strip; the main
// window's strip uses MainWindowInstruments::LampStripStyle().
struct LampStyle {
  enum Shape { Round = 0, Square = 1 };

  int width = 260;  // drawing area, pixels
  int height = 100;
  Shape shape = Round;
  QColor backgroundColor;  // left invalid: the strip then uses the palette's button face
  QColor litColor = QColor(255, 0, 0);
  QColor darkColor = QColor(0, 200, 0);
  QColor textColor = QColor(255, 255, 255);
  int fontHeight = 14;  // label cell height, pixels
  int lampWidth = 20;
  int lampHeight = 20;
  int horizontalGap = 30;  // between neighbouring lamps of a row
  int verticalGap = 10;    // between rows
  int leftMargin = 10;     // x of the first column
  int topMargin = 10;      // y of the first row
  int labelOffsetX = 22;   // label position relative to its lamp's top-left corner
  int labelOffsetY = 2;
  int bevelWidth = 2;
  bool borderTop = true;
  bool borderBottom = true;
  bool borderLeft = true;
  bool borderRight = true;
  int borderWidth = 3;
  QColor lightBorderColor = QColor(255, 255, 255);  // bottom and right strips
  QColor darkBorderColor = QColor(100, 100, 100);   // top and left strips
};
