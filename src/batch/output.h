// What the batch program hands the user: files written whole or not at
// all, and refusals, one line on standard error each.
#pragma once

#include <string>

// Writes text to path whole: a failure (an unwritable folder, a full disk)
// leaves no file behind and says why in error.
bool writeWhole(const std::string &path, const std::string &text, std::string &error);

// "tresolva-batch: why" on standard error; returns status.
int refuse(const std::string &why, int status);
