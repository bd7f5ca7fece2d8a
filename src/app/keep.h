// The scene kept as a picture (Ctrl+S): a PNG in the user's pictures
// folder, with the settings file that draws it again beside it.
#pragma once

#include <string>
#include <vector>

#include "state/settings.h"

// XDG_PICTURES_DIR from the environment, else from the user's
// user-dirs.dirs, else ~/Pictures.
std::string picturesFolder();

// The file's first lines: what it is, and the command that draws the
// picture again (frame: of playback, 0 when none or Static).
std::string keptSettingsText(const Settings &viewed, const std::string &name, int width, int height,
                             int frame);

// Writes NAME.png and NAME.toml, a fresh time-stamped name in folder
// (created if missing), both or neither. Returns what the screen says:
// "saved to ..." or "not saved: " and why.
std::string keepPicture(const std::string &folder, const std::vector<unsigned char> &rgb, int width,
                        int height, const Settings &viewed, int frame);
