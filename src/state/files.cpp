// Files written whole or not at all, and pictures as PNG files.
#include "state/files.h"

#include <fcntl.h>
#include <stb_image_write.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

// ======== Files ====================================================================
namespace {

// The folder of path with its last slash ("" for none), and its name.
std::pair<std::string, std::string> split(const std::string &path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The folder resolved (links, "." and ".."), so that two spellings of one
// file compare equal; the path as it is when its folder cannot be.
std::string resolved(const std::string &path) {
  auto [dir, name] = split(path);
  char *real = realpath(dir.empty() ? "." : dir.c_str(), nullptr);
  if (!real) return path;
  std::string out = std::string(real) + "/" + name;
  std::free(real);
  return out;
}

} // namespace

std::string besideOf(const std::string &path) {
  static std::atomic<unsigned> made{0};
  auto [dir, name] = split(path);
  for (int tries = 0; tries < 100; tries++) {
    std::string part = dir;
    part += ".part-" + std::to_string(getpid()) + "-" + std::to_string(made++) + "-";
    part += name;
    // 0666 less the umask, as the file itself would have been made
    int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return part;
    }
    if (errno != EEXIST) break;
  }
  return "";
}

bool sameFile(const std::string &a, const std::string &b) {
  struct stat sa, sb;
  if (a == b || resolved(a) == resolved(b)) return true;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool special(const std::string &path) {
  struct stat st;
  return path == "-" || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
}

bool reserveOutput(Output &o, const std::string &path, std::string &error) {
  o = Output{};
  o.path = path;
  o.special = special(path);
  o.part = o.special ? path : besideOf(path);
  if (!o.part.empty()) return true;
  error = "cannot write " + path + ": " + std::strerror(errno);
  return false;
}

bool openOutput(Output &o, const std::string &path, std::string &error) {
  if (!reserveOutput(o, path, error)) return false;
  o.f = path == "-" ? stdout : std::fopen(o.part.c_str(), "wb");
  if (o.f) return true;
  error = "cannot write " + path + ": " + std::strerror(errno);
  if (!o.special) std::remove(o.part.c_str());
  return false;
}

void writeOutput(Output &o, const std::string &text) {
  if (o.err == 0 && std::fwrite(text.data(), 1, text.size(), o.f) != text.size()) o.err = errno;
}

bool closeOutput(Output &o, std::string &error) {
  if (o.err == 0 && std::fflush(o.f) != 0) o.err = errno;
  if (o.f != stdout && std::fclose(o.f) != 0 && o.err == 0) o.err = errno;
  o.f = nullptr;
  const std::string named = o.path == "-" ? "standard output" : o.path;
  if (o.err != 0) error = "cannot write " + named + ": " + std::strerror(o.err);
  return o.err == 0;
}

bool placeOutput(Output &o, bool keep, std::string &error) {
  if (keep && !o.special && std::rename(o.part.c_str(), o.path.c_str()) != 0) {
    o.err = errno;
    error = "cannot write " + o.path + ": " + std::strerror(o.err);
  }
  const bool kept = keep && o.err == 0;
  if (!kept && !o.special) std::remove(o.part.c_str());
  return kept;
}

bool finishOutput(Output &o, bool keep, std::string &error) {
  const bool whole = closeOutput(o, error);
  return placeOutput(o, keep && whole, error);
}

std::string extensionOf(const std::string &path) {
  size_t dot = path.rfind('.');
  return dot == std::string::npos || path.find('/', dot) != std::string::npos
             ? ""
             : path.substr(dot + 1);
}

bool writeWhole(const std::string &path, const std::string &text, std::string &error) {
  return writeAll({{path, text}}, error);
}

// Every file is written beside its name and closed before any is renamed
// into place.
bool writeAll(const std::vector<std::pair<std::string, std::string>> &files, std::string &error) {
  std::vector<Output> outs(files.size());
  bool ok = true;
  size_t opened = 0;
  while (ok && opened < files.size() && openOutput(outs[opened], files[opened].first, error)) {
    writeOutput(outs[opened], files[opened].second);
    ok = closeOutput(outs[opened++], error);
  }
  ok = ok && opened == files.size();
  for (size_t k = 0; k < opened; k++) ok = placeOutput(outs[k], ok, error) && ok;
  return ok;
}

std::string pngOf(const std::vector<unsigned char> &rgb, int width, int height) {
  std::string png;
  auto append = [](void *ctx, void *data, int size) {
    static_cast<std::string *>(ctx)->append(static_cast<const char *>(data), (size_t)size);
  };
  stbi_write_png_to_func(append, &png, width, height, 3, rgb.data(), width * 3);
  return png;
}
