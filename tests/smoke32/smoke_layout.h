// Files of the smoke program's folder and of its mailbox.
#pragma once
#include <string>

// The path of a file below the folder of this program (the host's folder).
std::string BesideProgram(const char* relative);

// Writes bytes as the whole file; false when it could not be written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
