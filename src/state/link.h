// A link's settings: those that differ from a base, as key=value pairs
// that a page's address carries, and such pairs read back.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "state/settings.h"

// The keys whose value in s differs from base, each with its value as the
// file writes it (a choice by its name, unquoted), in the table's order.
using KeyValues = std::vector<std::pair<std::string, std::string>>;
KeyValues linkSettings(const Settings &s, const Settings &base);
// The key=value pairs of a link's query (after its '?'), decoded as a form
// encodes them: '+' a blank, %XX a byte.
KeyValues linkPairs(const std::string &query);
// Takes a link's settings over s. A key the table lacks, or a value the
// file would refuse, leaves s as it was for that key and adds "key: why"
// to refused. A choice's name is read without regard to case, as in a file.
void readLink(const KeyValues &link, Settings &s, std::vector<std::string> &refused);
