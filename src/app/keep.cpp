// The scene kept as a picture (Ctrl+S): a PNG in the user's pictures
// folder, with the settings file that draws it again beside it.
#include "app/keep.h"
#include "state/settings_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include "state/files.h"

namespace {

std::string home() {
  const char *h = std::getenv("HOME");
  if (h && *h) return h;
  const passwd *pw = getpwuid(getuid());
  return pw ? pw->pw_dir : "/";
}

// The value of XDG_PICTURES_DIR="..." in user-dirs.dirs, $HOME expanded.
std::string fromUserDirs() {
  const char *config = std::getenv("XDG_CONFIG_HOME");
  std::ifstream in((config && *config ? std::string(config) : home() + "/.config") +
                   "/user-dirs.dirs");
  const std::string key = "XDG_PICTURES_DIR=\"";
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size(), key) != 0 || line.back() != '"') continue;
    std::string v = line.substr(key.size(), line.size() - key.size() - 1);
    if (v.compare(0, 5, "$HOME") == 0) v = home() + v.substr(5);
    if (!v.empty() && v[0] == '/') return v;
  }
  return "";
}

// Every missing folder along the path, as mkdir -p.
bool makeFolders(const std::string &path, std::string &error) {
  for (size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
    const std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      error = "cannot make " + part + ": " + std::strerror(errno);
      return false;
    }
    if (at == std::string::npos) return true;
  }
}

bool exists(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// tresolva-YYYYMMDD-HHMMSS, then -2, -3, ... if taken.
std::string freshName(const std::string &folder) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "tresolva-%Y%m%d-%H%M%S", &local);
  std::string name = folder + "/" + stamp;
  for (int k = 2; exists(name + ".png") || exists(name + ".toml"); k++)
    name = folder + "/" + stamp + "-" + std::to_string(k);
  return name;
}

std::string baseName(const std::string &path) {
  return path.substr(path.rfind('/') + 1);
}

} // namespace

std::string picturesFolder() {
  const char *env = std::getenv("XDG_PICTURES_DIR");
  if (env && *env == '/') return env;
  std::string fromFile = fromUserDirs();
  return fromFile.empty() ? home() + "/Pictures" : fromFile;
}

std::string keptSettingsText(const Settings &viewed, const std::string &name, int width, int height,
                             int frame) {
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  std::string framed = frame > 0 ? " --frame " + std::to_string(frame) : "";
  return "# The view saved as " + name + ".png, drawn again pixel for pixel by\n" +
         "#   tresolva-batch render -s " + name + ".toml" + framed + " --size " + size +
         " --pixel-widths -o " + name + ".png\n" +
         "# (at another --size, without --pixel-widths, the lines keep their thickness\n" +
         "# against the picture's height).\n" + settingsText(viewed);
}

std::string keepPicture(const std::string &folder, const std::vector<unsigned char> &rgb, int width,
                        int height, const Settings &viewed, int frame) {
  std::string error;
  if (width < 1 || height < 1) return "not saved: the scene has no pixels";
  if (!makeFolders(folder, error)) return "not saved: " + error;
  const std::string name = freshName(folder);
  const std::string text = keptSettingsText(viewed, baseName(name), width, height, frame);
  if (!writeAll({{name + ".png", pngOf(rgb, width, height)}, {name + ".toml", text}}, error))
    return "not saved: " + error;
  return "saved to " + name + ".png, its settings beside it";
}
