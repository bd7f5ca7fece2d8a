// tresolva-batch: the viewer's pictures and numbers outside the window.
//   tresolva-batch settings                     the default settings file, commented
//   tresolva-batch render [-s F] -o OUT.png     one frame as PNG, SVG, PDF or EPS
//   tresolva-batch animate [-s F] -n N -o P     N frames as P-0001.png ... or a video
//   tresolva-batch export [-s F] -o OUT.csv     the replayed trajectory or its maxima
//   tresolva-batch lyapunov [-s F]               Lyapunov exponents with standard errors
//   tresolva-batch bifurcation [-s F] --param P --from A --to B -o OUT.csv
//                                                maxima of x along a parameter sweep
// A refusal is one line on standard error and status 2; a failure to
// draw or write, one line and status 1.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "batch/export.h"
#include "batch/headless.h"
#include "batch/numbers.h"
#include "batch/output.h"
#include "batch/render.h"
#include "batch/video.h"
#include "state/settings.h"
#include "state/settings_file.h"

namespace {

// What the subcommands share: the settings file and the picture's size.
struct Common {
  std::string from, out, size = std::to_string(SCENE_WIDTH) + "x" + std::to_string(SCENE_HEIGHT);
  int width = SCENE_WIDTH, height = SCENE_HEIGHT, frame = 1, frames = 100, fps = 30, samples = 0;
  bool maxima = false, frameGiven = false, fpsGiven = false, pixelWidths = false;
  Look look() const { return {width, height, pixelWidths, samples}; }
  std::string video;
};

void addSettings(CLI::App *c, Common &o) {
  c->add_option("-s,--settings", o.from, "settings file (missing keys: start-up values)");
}

void addPicture(CLI::App *c, Common &o) {
  c->add_option("--size", o.size, "picture size WIDTHxHEIGHT, at most 8192 either way")
      ->capture_default_str();
  c->add_flag("--pixel-widths", o.pixelWidths,
              "lines and points as many pixels wide as on the screen, whatever the size "
              "(else as thick against the height as on the screen)");
  c->add_option("--samples", o.samples,
                "smooth edges: each pixel the mean of N samples (Mesa's renderer draws 4 at most)")
      ->check(CLI::Range(1, 64));
}

// ======== render =====================================================================
int render(const Settings &s, const Common &o) {
  std::string ext = extensionOf(o.out), error, file;
  if (ext != "png" && ext != "svg" && ext != "pdf" && ext != "eps")
    return refuse(o.out + ": the name must end in .png, .svg, .pdf or .eps", 2);
  if (const std::string why = o.frameGiven ? frameRefusal(s, "--frame") : ""; !why.empty())
    return refuse(why, 2);
  if (o.samples > 1 && ext != "png")
    return refuse("--samples smooths the pixels of a PNG; ." + ext + " pictures are vectors", 2);
  int k = shownFrame(s, o.frame);
  auto keep = [&](int, const std::vector<unsigned char> &rgb) {
    file = pngOf(rgb, o.width, o.height);
    return true;
  };
  const bool made = ext == "png" ? drawFrames(s, o.look(), k, k, keep, error)
                                 : vectorPicture(s, o.look(), k, ext, file, error);
  if (interrupted()) endInterrupted();
  if (!made) return refuse(error, 1);
  return writeWhole(o.out, file, error) ? 0 : refuse(error, 1);
}

// ======== animate ====================================================================
std::string numbered(const std::string &prefix, int k) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "-%04d.png", k);
  return prefix + digits;
}

// Frame k written and closed beside its name, kept in frames until all are.
bool frameFile(std::vector<Output> &frames, const std::string &path, const std::string &png,
               std::string &error) {
  Output f;
  if (!openOutput(f, path, error)) return false;
  writeOutput(f, png);
  frames.push_back(f);
  return closeOutput(frames.back(), error);
}

// Every frame renamed into place, or every one removed.
bool placeFrames(std::vector<Output> &frames, bool keep, std::string &error) {
  for (Output &f : frames) keep = placeOutput(f, keep, error) && keep;
  return keep;
}

int animate(const Settings &s, const Common &o) {
  if (s.dynamic == 0) return refuse("animate needs Dynamic or Segment playback", 2);
  if (o.out.empty() == o.video.empty()) return refuse("give either -o PREFIX or --video FILE", 2);
  if (o.fpsGiven && o.video.empty())
    return refuse("--fps sets a video's rate, and frames written with -o have none", 2);
  std::string error;
  Video v;
  int status = o.video.empty() ? 0 : openVideo(v, o.video, o.width, o.height, o.fps, error);
  if (status != 0) return refuse(error, status);
  bool written = true;
  std::vector<Output> frames;
  Progress progress{"frame", o.frames};
  auto keep = [&](int k, const std::vector<unsigned char> &rgb) {
    written = o.video.empty()
                  ? frameFile(frames, numbered(o.out, k), pngOf(rgb, o.width, o.height), error)
                  : videoFrame(v, rgb, error);
    showProgress(progress, k);
    return written && !interrupted();
  };
  bool drawn = drawFrames(s, o.look(), 1, o.frames, keep, error);
  bool whole = drawn && written && !interrupted();
  written = o.video.empty() ? placeFrames(frames, whole, error) : closeVideo(v, whole, error);
  if (interrupted()) endInterrupted();
  return drawn && written ? 0 : refuse(error, 1);
}

// ======== export =====================================================================
int exportCsv(const Settings &s, const Common &o) {
  std::string error, why;
  if (o.maxima) {
    std::string csv = maximaCsv(s, &why);
    if (interrupted()) endInterrupted();
    if (!why.empty()) return refuse(why, 1);
    return writeWhole(o.out, csv, error) ? 0 : refuse(error, 1);
  }
  Output out;
  if (!openOutput(out, o.out, error)) return refuse(error, 1);
  const bool finite = writeTrajectory(s, out, why);
  bool kept = finishOutput(out, finite && !interrupted(), error);
  if (interrupted()) endInterrupted();
  if (!finite) return refuse(why, 1);
  return kept ? 0 : refuse(error, 1);
}

// A parser's message with each long argument it quotes shortened.
std::string quoting(std::string message, int argc, char **argv) {
  for (int k = 1; k < argc; k++) {
    const std::string arg = argv[k], short_ = forMessage(arg);
    if (arg == short_) continue;
    for (size_t at; (at = message.find(arg)) != std::string::npos;)
      message.replace(at, arg.size(), short_);
  }
  return message;
}

int run(int argc, char **argv) {
  CLI::App app{"Tresolva's pictures and numbers without a window"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tresolva-batch " TRESOLVA_VERSION);
  Common o;
  CLI::App *settings = app.add_subcommand("settings", "print the default settings file");

  CLI::App *renderCmd = app.add_subcommand("render", "one frame the viewer shows, without panels");
  addSettings(renderCmd, o);
  renderCmd->add_option("-o,--output", o.out, "picture file: .png, .svg, .pdf or .eps")
      ->required()
      ->check(fileName());
  addPicture(renderCmd, o);
  renderCmd->add_option("--frame", o.frame, "Dynamic and Segment: the K-th frame of playback")
      ->check(CLI::Range(1, 1000000));
  renderCmd->callback([&] { o.frameGiven = renderCmd->count("--frame") > 0; });

  CLI::App *animateCmd = app.add_subcommand("animate", "frames of Dynamic or Segment playback");
  addSettings(animateCmd, o);
  animateCmd->add_option("-o,--output", o.out, "PREFIX: writes PREFIX-0001.png and on")
      ->check(fileName());
  animateCmd->add_option("--video", o.video, "a video file, made by ffmpeg from the frames")
      ->check(fileName());
  animateCmd->add_option("-n,--frames", o.frames, "how many frames")
      ->check(CLI::Range(1, 1000000))
      ->capture_default_str();
  animateCmd->add_option("--fps", o.fps, "frames per second of the video")
      ->check(CLI::Range(1, 240))
      ->capture_default_str();
  addPicture(animateCmd, o);
  animateCmd->callback([&] { o.fpsGiven = animateCmd->count("--fps") > 0; });

  CLI::App *exportCmd = app.add_subcommand("export", "the replayed trajectory as CSV");
  addSettings(exportCmd, o);
  exportCmd->add_option("-o,--output", o.out, "the CSV file (- for standard output)")
      ->required()
      ->check(fileName());
  exportCmd->add_flag("--maxima", o.maxima, "the maximum map's points instead");

  NumberOptions numbers;
  CLI::App *lyapunovCmd = app.add_subcommand("lyapunov", "Lyapunov exponents of the run");
  addSettings(lyapunovCmd, o);
  addLyapunovOptions(lyapunovCmd, numbers);
  CLI::App *bifurcationCmd =
      app.add_subcommand("bifurcation", "maxima of x as one parameter sweeps a range");
  addSettings(bifurcationCmd, o);
  addBifurcationOptions(bifurcationCmd, numbers);
  std::string names;
  for (const CLI::App *c : app.get_subcommands({}))
    names += (names.empty() ? "" : ", ") + c->get_name();
  if (argc > 1 && argv[1][0] != '-' &&
      app.get_subcommands([&](const CLI::App *c) { return c->get_name() == argv[1]; }).empty())
    return refuse(forMessage(argv[1]) + ": no such subcommand (there are " + names + ")", 2);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    if (e.get_exit_code() == 0) return flushedOut(app.exit(e)); // --help, --version
    return refuse(quoting(e.what(), argc, argv) + " (see --help)", 2);
  }

  Settings s = startUpSettings();
  if (settings->parsed()) {
    std::fputs(settingsText(s).c_str(), stdout);
    return flushedOut(0);
  }
  std::string error;
  if (!o.from.empty() && !readSettings(o.from, s, error)) return refuse(error, 2);
  if (lyapunovCmd->parsed()) return lyapunovCommand(s, numbers);
  if (bifurcationCmd->parsed()) return bifurcationCommand(s, numbers);
  if (!readSize(o.size, CANVAS_MAX, o.width, o.height, error)) return refuse(error, 2);
  if (!(error = windowRefusal(s)).empty()) return refuse(error, 2);
  if (renderCmd->parsed()) return render(s, o);
  if (animateCmd->parsed()) return animate(s, o);
  return exportCsv(s, o);
}

} // namespace

int main(int argc, char **argv) {
  watchInterrupts();
  try {
    return run(argc, argv);
  } catch (const std::exception &e) { // out of memory, above all
    return refuse(e.what(), 1);
  }
}
