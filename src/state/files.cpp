// Files written whole or not at all, and pictures as PNG files.
#include "state/files.h"

#include <stb_image_write.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

// ======== Files ====================================================================
bool openOutput(Output &o, const std::string &path, std::string &error) {
  struct stat st;
  o = Output{};
  o.path = path;
  o.special = path == "-" || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
  o.part = o.special ? path : path + ".part";
  o.f = path == "-" ? stdout : std::fopen(o.part.c_str(), "wb");
  if (o.f) return true;
  error = "cannot write " + path + ": " + std::strerror(errno);
  return false;
}

void writeOutput(Output &o, const std::string &text) {
  if (o.err == 0 && std::fwrite(text.data(), 1, text.size(), o.f) != text.size()) o.err = errno;
}

bool finishOutput(Output &o, bool keep, std::string &error) {
  if (o.err == 0 && std::fflush(o.f) != 0) o.err = errno;
  if (o.f != stdout && std::fclose(o.f) != 0 && o.err == 0) o.err = errno;
  o.f = nullptr;
  bool kept = keep && o.err == 0;
  if (kept && !o.special && std::rename(o.part.c_str(), o.path.c_str()) != 0) o.err = errno;
  kept = kept && o.err == 0;
  if (!kept && !o.special) std::remove(o.part.c_str());
  if (o.err != 0) error = "cannot write " + o.path + ": " + std::strerror(o.err);
  return kept;
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

// Every file is written beside its name before any is renamed into place.
bool writeAll(const std::vector<std::pair<std::string, std::string>> &files, std::string &error) {
  std::vector<Output> outs(files.size());
  bool ok = true;
  for (size_t k = 0; k < files.size() && ok; k++) {
    ok = openOutput(outs[k], files[k].first, error);
    if (!ok) break;
    writeOutput(outs[k], files[k].second);
    if (outs[k].err == 0 && std::fflush(outs[k].f) != 0) outs[k].err = errno;
    ok = outs[k].err == 0;
  }
  for (Output &o : outs)
    if (o.f) ok = finishOutput(o, ok, error) && ok;
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
