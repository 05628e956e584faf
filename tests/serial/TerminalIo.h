#pragma once

#include <QByteArray>

class PseudoTerminal;

// The unit's side of a pseudo-terminal in the tests.
namespace terminal_io {

// Reads until `count` bytes came or nothing came for a long while.
QByteArray ReadExactly(PseudoTerminal& terminal, int count);
void WriteAll(PseudoTerminal& terminal, const QByteArray& bytes);

}  // namespace terminal_io
