// The settings file: its whole text from a record, and a record from a
// file or a text, refused with the file's name, the line and the key; the
// shortest text of a number, and text from outside made fit for a message.
#pragma once

#include <string>

#include "state/settings.h"

// The whole file, every key with a comment, in a fixed order.
std::string settingsText(const Settings &s);

// Reads a settings file over s (a missing key keeps its value). On a
// refusal, returns false with one line naming the file, the line and the
// key; s is then left as it was.
bool readSettings(const std::string &path, Settings &s, std::string &error);
// The same for a settings file's text; name stands for the file in refusals.
bool readSettingsText(const std::string &text, const std::string &name, Settings &s,
                      std::string &error);

// A row's value in s as the file writes it: a number with a point or an
// exponent, true or false, a choice's name in quotes.
std::string valueText(const Setting &r, const Settings &s);
// Why text, read as the file would read a value of r's kind written so (a
// choice's name unquoted), cannot be r's value in s, or "" once it is.
std::string takeText(const Setting &r, const std::string &text, Settings &s);

// Whether s is UTF-8 text, every character encoded in its shortest form.
bool isUtf8(const std::string &s);
// A text from outside (a key, a name) fit for one line of a message: its
// first 60 characters, bytes that are no character as \xNN, then "…".
std::string forMessage(const std::string &text);

// Shortest text that reads back as the same number, locale-independent.
std::string shortest(double v);
// The same for a float, read back through double as a settings file is.
std::string shortest(float v);
