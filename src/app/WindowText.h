#pragma once

#include <QString>
#include <string>

// The program holds texts as Windows-1252 bytes, as its files do; the windows show Unicode.

// A text typed into a control, as the program's bytes (a character Windows-1252 cannot hold
// becomes "?").
std::string ToBytes(const QString& text);

// The program's bytes as a control shows them.
QString FromBytes(const std::string& bytes);
