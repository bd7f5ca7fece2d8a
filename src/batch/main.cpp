// tresolva-batch: the viewer's settings and numbers outside the window.
//   tresolva-batch settings              the default settings file, commented
//   tresolva-batch export [-s F] -o OUT   the replayed trajectory as CSV
// A refusal is one line on standard error and status 2; a failure to
// write, one line and status 1.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "batch/export.h"
#include "state/settings.h"

namespace {

int refuse(const std::string &why, int status) {
  std::fprintf(stderr, "tresolva-batch: %s\n", why.c_str());
  return status;
}

int run(int argc, char **argv) {
  CLI::App app{"Tresolva's pictures and numbers without a window"};
  app.require_subcommand(1);
  CLI::App *settings = app.add_subcommand("settings", "print the default settings file");
  CLI::App *exportCmd = app.add_subcommand("export", "the replayed trajectory as CSV");
  std::string from, out;
  exportCmd->add_option("-s,--settings", from, "settings file (missing keys: start-up values)");
  exportCmd->add_option("-o,--output", out, "the CSV file")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    if (e.get_exit_code() == 0) return app.exit(e); // --help
    return refuse(std::string(e.what()) + " (see --help)", 2);
  }

  Settings s = startUpSettings();
  if (settings->parsed()) {
    std::fputs(settingsText(s).c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::string error;
  if (!from.empty() && !readSettings(from, s, error)) return refuse(error, 2);
  if (!writeWhole(out, trajectoryCsv(s), error)) return refuse(error, 1);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception &e) { // out of memory, above all
    return refuse(e.what(), 1);
  }
}
