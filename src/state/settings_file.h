// The settings file: its whole text from a record, and a record from a
// file or a text, refused with the file's name, the line and the key; the
// shortest text of a number, and text from outside made fit for a message.
#pragma once

#include <string>
#include <variant>

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

// A value as a file's key holds it: a number, true or false, or a choice's name.
using SettingValue = std::variant<double, bool, std::string>;
// r's value in s so; a float as the double its text in the file reads as
// (0.005, not 0.004999999888), which narrows back to the same float.
SettingValue valueOf(const Setting &r, const Settings &s);
// Why v cannot be r's value in s, as the file says it, or "" once it is.
std::string takeValue(const Setting &r, const SettingValue &v, Settings &s);

// Whether s is UTF-8 text, every character encoded in its shortest form.
bool isUtf8(const std::string &s);
// A text from outside (a key, a name) fit for one line of a message: its
// first 60 characters, bytes that are no character as \xNN, then "…".
std::string forMessage(const std::string &text);

// Shortest text that reads back as the same number, locale-independent.
std::string shortest(double v);
// The same for a float, read back through double as a settings file is.
std::string shortest(float v);
