// The Python module tresolva: the settings as a mapping of the file's keys,
// and the batch program's numbers (the trajectory, the maximum map, the
// Lyapunov exponents) as numpy arrays and dicts, the same bits as the
// command line. Each computation runs without the GIL; a run that cannot
// give a number raises with the command line's message.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <tbb/task_arena.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/export.h"
#include "batch/headless.h"
#include "batch/lanes.h"
#include "batch/lyapunov.h"
#include "batch/render.h"
#include "batch/report.h"
#include "state/settings.h"
#include "state/settings_file.h"

namespace py = pybind11;

namespace {

// ======== Values between the two languages ==========================================
// An array of rows x columns that owns the numbers it is given.
py::array_t<double> arrayOf(std::vector<double> &&numbers, size_t columns) {
  auto *kept = new std::vector<double>(std::move(numbers));
  py::capsule owner(kept, [](void *v) { delete static_cast<std::vector<double> *>(v); });
  const size_t rows = columns ? kept->size() / columns : 0;
  return py::array_t<double>({rows, columns}, {columns * sizeof(double), sizeof(double)},
                             kept->data(), owner);
}

py::object pythonOf(const nlohmann::json &j) {
  if (j.is_object()) {
    py::dict d;
    for (const auto &[k, v] : j.items()) d[py::str(k)] = pythonOf(v);
    return std::move(d);
  }
  if (j.is_array()) {
    py::list l;
    for (const auto &v : j) l.append(pythonOf(v));
    return std::move(l);
  }
  if (j.is_boolean()) return py::bool_(j.get<bool>());
  if (j.is_number_integer()) return py::int_(j.get<long long>());
  if (j.is_number()) return py::float_(j.get<double>());
  if (j.is_string()) return py::str(j.get<std::string>());
  return py::none();
}

// A Python value as a settings file would hold it; bool before int, as
// Python's True is also an int.
SettingValue settingValueOf(const py::handle &v) {
  if (py::isinstance<py::bool_>(v)) return v.cast<bool>();
  if (py::isinstance<py::int_>(v) || py::isinstance<py::float_>(v)) return v.cast<double>();
  if (py::isinstance<py::str>(v)) return v.cast<std::string>();
  throw py::type_error("a setting is a number, True or False, or a name, not " +
                       std::string(py::str(py::type::of(v).attr("__name__"))));
}

// Whether v is of the kind r takes, which decides TypeError or ValueError.
bool ofKind(const Setting &r, const SettingValue &v) {
  if (r.kind == Kind::SWITCH) return std::holds_alternative<bool>(v);
  if (r.kind == Kind::CHOICE) return std::holds_alternative<std::string>(v);
  return std::holds_alternative<double>(v);
}

// ======== Settings ====================================================================
const Setting &rowOf(const std::string &key) {
  const Setting *r = findSetting(key);
  if (!r) throw py::key_error(forMessage(key) + ": unknown key");
  return *r;
}

py::object get(const Settings &s, const std::string &key) {
  return std::visit([](const auto &v) { return py::cast(v); }, valueOf(rowOf(key), s));
}

void set(Settings &s, const std::string &key, const py::handle &value) {
  const Setting &r = rowOf(key);
  const SettingValue v = settingValueOf(value);
  const std::string why = takeValue(r, v, s);
  if (why.empty()) return;
  if (!ofKind(r, v)) throw py::type_error(key + ": " + why);
  throw py::value_error(key + ": " + why);
}

[[noreturn]] void raise(PyObject *type, const std::string &why) {
  PyErr_SetString(type, why.c_str());
  throw py::error_already_set();
}

Settings readFile(const std::string &path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) { // FileNotFoundError and its kin, as open() raises them
    PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
    throw py::error_already_set();
  }
  Settings s = startUpSettings();
  std::string error;
  if (!readSettings(path, s, error)) raise(PyExc_ValueError, error);
  return s;
}

Settings parseText(const std::string &text, const std::string &name) {
  Settings s = startUpSettings();
  std::string error;
  if (!readSettingsText(text, name, s, error)) raise(PyExc_ValueError, error);
  return s;
}

std::vector<std::string> keys() {
  const std::vector<Setting> &table = settingsTable();
  std::vector<std::string> out(table.size());
  std::transform(table.begin(), table.end(), out.begin(), [](const Setting &r) { return r.key; });
  return out;
}

// A top-level key ("dt", "playback") is also an attribute.
const Setting &attributeRow(const std::string &name) {
  const Setting *r = name.find('.') == std::string::npos ? findSetting(name) : nullptr;
  if (!r) raise(PyExc_AttributeError, "tresolva.Settings has no setting " + forMessage(name));
  return *r;
}

// ======== Long calls ================================================================
// work(stop) runs on a thread of its own while the caller's looks for
// Python's signals every tenth of a second, taking the GIL only for that:
// a handler's exception (Ctrl+C's KeyboardInterrupt) sets stop, and is
// raised once the work has stopped, which it does within a run of steps.
template <typename Work> auto interruptible(Work work) {
  std::atomic<bool> stopped{false};
  const Cut stop{[](void *c) { return static_cast<std::atomic<bool> *>(c)->load(); }, &stopped};
  auto result = std::async(std::launch::async, [&] { return work(stop); });
  bool raised = false;
  {
    py::gil_scoped_release unlocked;
    while (result.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
      py::gil_scoped_acquire locked;
      if (!raised && PyErr_CheckSignals() != 0) raised = true, stopped = true;
    }
  }
  if (raised) throw py::error_already_set();
  return result.get();
}

// The instruction set asked for, chosen for the call. The choice is the
// process's: a call naming a set holds it alone, the others ("on", "off")
// share it meanwhile. The lock is waited for with the GIL released, as its
// holder takes the GIL to look for signals.
class Simd {
  static std::shared_mutex &choice() {
    static std::shared_mutex held;
    return held;
  }
  std::unique_lock<std::shared_mutex> alone;
  std::shared_lock<std::shared_mutex> shared;

public:
  explicit Simd(const std::string &simd) {
    std::string why;
    {
      py::gil_scoped_release unlocked;
      if (simd != "on" && simd != "off") alone = std::unique_lock(choice());
      else shared = std::shared_lock(choice());
      why = takeSimd(simd);
    }
    if (!why.empty()) raise(PyExc_ValueError, why);
  }
  Simd(const Simd &) = delete;
  Simd &operator=(const Simd &) = delete;
  ~Simd() {
    if (alone.owns_lock()) chooseLaneTarget("");
  }
};

// How many threads a call may take (None: every core), read with the GIL.
int threadCount(const py::object &threads) {
  if (threads.is_none()) return tbb::this_task_arena::max_concurrency();
  const long n = threads.cast<long>();
  if (n < 1 || n > 65536) raise(PyExc_ValueError, "threads must be 1 to 65536 (None: every core)");
  return (int)n;
}

// work() on at most n threads.
template <typename Work> auto onThreads(int n, Work work) {
  tbb::task_arena arena(n);
  return arena.execute(work);
}

// A warning, which the caller's filters may turn into an exception.
void warn(const std::string &text) {
  if (PyErr_WarnEx(PyExc_RuntimeWarning, text.c_str(), 1) < 0) throw py::error_already_set();
}

// ======== Numbers ===================================================================
// Each takes its settings by value: a copy made with the GIL held, which
// another thread's assignments cannot change while the work runs.
// A run whose state left the finite numbers is an ArithmeticError; any
// other refusal a ValueError.
void refuseWindow(const Settings &s) {
  const std::string why = windowRefusal(s);
  if (!why.empty()) raise(PyExc_ValueError, why);
}

py::array_t<double> trajectory(Settings s) {
  refuseWindow(s);
  const size_t columns = s.second == 1 ? 8 : 4;
  std::vector<double> numbers;
  std::string why;
  const bool finite = interruptible([&](Cut stop) {
    numbers.reserve((size_t)trajectorySteps(s) * columns);
    auto keep = [&](const double *row, int count, long, bool) {
      numbers.insert(numbers.end(), row, row + count);
    };
    return trajectoryRows(s, keep, stop, why);
  });
  if (!finite) raise(PyExc_ArithmeticError, why);
  return arrayOf(std::move(numbers), columns);
}

// cppcheck-suppress passedByValue ; a copy, which other threads cannot change
py::array_t<double> maxima(Settings s) {
  refuseWindow(s);
  std::vector<double> numbers;
  std::string why;
  for (const MapPair &p : interruptible([&](Cut stop) { return maximaPairs(s, stop, &why); }))
    numbers.insert(numbers.end(), {p.previous, p.maximum});
  if (!why.empty()) raise(PyExc_ArithmeticError, why);
  return arrayOf(std::move(numbers), 2);
}

// The run of s with these options, refused as the command line refuses them.
LyapunovRun runOf(const Settings &s, bool spectrum, double transient, double time, double tau,
                  double d0, int blocks) {
  LyapunovRun r;
  static_cast<System &>(r) = systemOf(s);
  r.transient = transient, r.time = time, r.tau = tau, r.d0 = d0, r.blocks = blocks;
  r.spectrum = spectrum;
  const std::string why = runRefusal(r);
  if (!why.empty()) raise(PyExc_ValueError, why);
  return r;
}

// cppcheck-suppress passedByValue ; a copy, which other threads cannot change
py::object exponents(Settings s, bool spectrum, double transient, double time, double tau,
                     double d0, int blocks, int repeat) {
  LyapunovRun r = runOf(s, spectrum, transient, time, tau, d0, blocks);
  if (repeat < 1 || repeat > 1000000) raise(PyExc_ValueError, "--repeat must be 1 to 1000000");
  Simd chosen("on");
  const std::vector<Exponents> found = interruptible([&](Cut stop) {
    r.stop = stop;
    return repeat > 1 ? lyapunovAll(repeatedRuns(r, repeat), true, nullptr)
                      : std::vector<Exponents>{lyapunov(r)};
  });
  for (size_t k = 0; k < found.size(); k++) {
    const std::string which = repeat > 1 ? "run " + std::to_string(k + 1) + ": " : "";
    if (found[k].status != 0)
      raise(found[k].status == 1 ? PyExc_ArithmeticError : PyExc_ValueError,
            which + found[k].problem);
  }
  if (repeat == 1) return pythonOf(jsonReport(s, r, found, found[0]));
  py::list each;
  for (const Exponents &e : found) each.append(pythonOf(jsonReport(s, r, {e}, e)));
  return std::move(each);
}

// ======== Sweeps ====================================================================
// The sweep of param over values (each as the float the run uses), each
// within the panel's limits.
Sweep sweepOf(const Settings &s, const std::string &param, const std::vector<double> &values,
              const char *option) {
  Sweep w{};
  static_cast<System &>(w) = systemOf(s);
  std::string why = paramRefusal(w, param, option);
  if (!why.empty()) raise(PyExc_ValueError, why);
  if (values.empty()) raise(PyExc_ValueError, "values: give 1 or more");
  const Parameter &p = w.model->params[w.param];
  for (double v : values)
    if (!(v >= p.lo && v <= p.hi))
      raise(PyExc_ValueError, "values must lie within " + shortest(p.lo) + " and " +
                                  shortest(p.hi) + ", the panel's limits (" + shortest(v) +
                                  " does not)");
  w.given.assign(values.begin(), values.end());
  w.values = (int)values.size();
  return w;
}

// The rows, "parameter" and then each row's fields (NaN where the CSV
// leaves a field empty); each value that gives none said as a warning.
py::array_t<double> rowsOf(const Sweep &w, const std::vector<SweepValue> &values, size_t fields) {
  std::vector<double> numbers;
  for (const std::string &line : problemLines(w, values)) warn(line);
  for (const SweepValue &v : values) {
    for (const std::vector<double> &row : v.rows) {
      numbers.push_back(v.value);
      numbers.insert(numbers.end(), row.begin(), row.end());
    }
  }
  return arrayOf(std::move(numbers), 1 + fields);
}

// cppcheck-suppress passedByValue ; a copy, which other threads cannot change
py::array_t<double> bifurcation(Settings s, const std::string &param,
                                const std::vector<double> &values, double transient, double time,
                                const py::object &threads, const std::string &simd) {
  Sweep w = sweepOf(s, param, values, "param");
  w.transient = transient, w.time = time, w.lanes = simd != "off";
  const std::string why = timeRefusal(w);
  if (!why.empty()) raise(PyExc_ValueError, why);
  const int n = threadCount(threads);
  Simd chosen(simd);
  const std::vector<SweepValue> found = interruptible([&](Cut stop) {
    w.stop = stop;
    return onThreads(n, [&] { return maximaSweep(w); });
  });
  return rowsOf(w, found, 1);
}

// cppcheck-suppress passedByValue ; a copy, which other threads cannot change
py::array_t<double> lyapunovSweep(Settings s, const std::string &param,
                                  const std::vector<double> &values, bool spectrum,
                                  double transient, double time, double tau, double d0, int blocks,
                                  const py::object &threads, const std::string &simd) {
  Sweep w = sweepOf(s, param, values, "param");
  w.lanes = simd != "off";
  LyapunovRun r = runOf(s, spectrum, transient, time, tau, d0, blocks);
  const int n = threadCount(threads);
  Simd chosen(simd);
  const std::vector<SweepValue> found = interruptible([&](Cut stop) {
    w.stop = r.stop = stop;
    return onThreads(n, [&] { return exponentSweep(r, w); });
  });
  py::array_t<double> rows = rowsOf(w, found, spectrum ? 6 : 2);
  if (const std::string coarse = coarseWarning(found, r.dt); !coarse.empty()) warn(coarse);
  return rows;
}

// ======== Pictures ==================================================================
// cppcheck-suppress passedByValue ; a copy, which other threads cannot change
py::array_t<unsigned char> pixelsOf(Settings s, int width, int height, const py::object &frame,
                                    const py::object &samples) {
  refuseWindow(s);
  if (const std::string why = frame.is_none() ? "" : frameRefusal(s, "frame"); !why.empty())
    raise(PyExc_ValueError, why);
  std::string why;
  const Look look{width, height, false, samples.is_none() ? 0 : samples.cast<int>()};
  if (width < 1 || height < 1 || width > CANVAS_MAX || height > CANVAS_MAX)
    raise(PyExc_ValueError, "width and height must each be 1 to " + std::to_string(CANVAS_MAX));
  if (look.samples < 0 || look.samples > 64) raise(PyExc_ValueError, "samples must be 1 to 64");
  const int k = shownFrame(s, frame.is_none() ? 1 : frame.cast<int>());
  if (k < 1) raise(PyExc_ValueError, "frame counts from 1");
  auto *rgb = new std::vector<unsigned char>();
  py::capsule owner(rgb, [](void *v) { delete static_cast<std::vector<unsigned char> *>(v); });
  bool drawn = false;
  {
    py::gil_scoped_release unlocked;
    static std::mutex canvas; // one headless GL context at a time
    std::lock_guard<std::mutex> turn(canvas);
    auto keep = [&](int, const std::vector<unsigned char> &pixels) { return *rgb = pixels, true; };
    drawn = drawFrames(s, look, k, k, keep, why);
  }
  if (!drawn)
    raise(why.rfind("the run diverged", 0) == 0 ? PyExc_ArithmeticError : PyExc_RuntimeError, why);
  return py::array_t<unsigned char>({(size_t)height, (size_t)width, (size_t)3},
                                    {(size_t)width * 3, (size_t)3, (size_t)1}, rgb->data(), owner);
}

// ======== What help() shows =========================================================
const char *const MODULE_DOC =
    R"(Tresolva's numbers for Python: the Lorenz and Roessler flows as the viewer
and tresolva-batch integrate them, bit for bit.

    import tresolva
    s = tresolva.Settings()            # the viewer's start-up values
    s["attractor"] = "roessler"
    s["roessler.c"] = 5.7
    xyz = tresolva.trajectory(s)       # float64, columns t, x, y, z
    print(tresolva.spectrum(s)["exponents"][0])

Every function runs without the GIL and prints nothing; a run that cannot
give a number raises (ArithmeticError when it leaves the finite numbers,
ValueError for an option it cannot take) with tresolva-batch's message.)";

const char *const SETTINGS_DOC = R"(A settings file's values, as a mapping of its keys.

Settings() holds the viewer's start-up values; Settings.read(path) and
Settings.parse(text) read a settings file over them. s["lorenz.ro"] = 99.96
and s["playback"] = "static" set a value, top-level keys also as
attributes (s.dt = 0.001). A value outside its limits raises ValueError, a
value of the wrong type TypeError, each with the settings file's message.
str(s) is the whole file's text; list(s) its keys.)";

const char *const TRAJECTORY_DOC = R"(The trajectory of the frame Static playback shows.

One row per drawn step, from tmin to tmax (model time units) at dt:
columns t, x, y, z, and with the twin on (s["twin"] = True) x2, y2, z2,
ln_d, the natural logarithm of the two states' distance. The numbers of
`tresolva-batch export`. Raises ArithmeticError where the run leaves the
finite numbers (use a smaller dt), ValueError for an empty time window.)";

const char *const MAXIMA_DOC = R"(The maximum map's points of that frame: an (N, 2) array.

Columns previous, maximum: each accepted maximum of |x| (of x where the map
keeps x > 0) against the one before it, in the model's units, as the
viewer plots them from its second frame on. The numbers of
`tresolva-batch export --maxima`.)";

const char *const LYAPUNOV_DOC = R"(The largest Lyapunov exponent, by a renormalised twin.

transient: time units skipped first (default 100)
time:      time units measured after it (default 10000)
tau:       time units between renormalisations (default 1)
d0:        the twin's distance after each renormalisation (default 1e-8)
blocks:    the run is cut into this many blocks for the standard error
repeat:    runs from as many starts, 0.01 apart along (1, 1, 1)

Returns the dict `tresolva-batch lyapunov --json` prints: "exponents", a
list of {"value", "error", "zero"} (per time unit; zero: within two
standard errors of 0), the "options", the "settings" file's text, the
"method" and the "version"; a list of such dicts with repeat > 1. Raises
ArithmeticError for a run that diverges, ValueError for options it cannot
take or a twin that cannot measure (with what to change).)";

const char *const SPECTRUM_DOC = R"(All three Lyapunov exponents, by the tangent dynamics with QR.

The options and the dict as lyapunov(), and with them "sum" (value and
error), "divergence" (the flow's, averaged along the run), "kaplan_yorke"
(the Kaplan-Yorke dimension, zeros taken as 0) and a "warning" where the
sum misses the divergence (a dt too coarse). On a fixed point the dict
holds "fixed_point" instead of a dimension.)";

const char *const BIFURCATION_DOC =
    R"(The bifurcation diagram's points: maxima of x as one parameter sweeps values.

param:     the parameter swept, as the panel names it ("c", "ro", ...)
values:    its values, any 1-D sequence within the panel's limits
transient: time units skipped at each value (default 500)
time:      time units run at each value, transient included (default 1000)
threads:   at most this many threads (None: every core)
simd:      "on" (the widest instruction set), "off" (one value at a
           time) or a set by name; the same numbers either way

Returns an (N, 2) float64 array, rows parameter, maximum as
`tresolva-batch bifurcation` writes them (the parameter as the float the
run used). A value whose run diverges gives no rows and a RuntimeWarning.
Ctrl+C stops it with KeyboardInterrupt.)";

const char *const LYAPUNOV_SWEEP_DOC = R"(Lyapunov exponents along one parameter.

param, values, threads and simd as for bifurcation(); spectrum: all three
exponents (else the largest); transient, time, tau, d0 and blocks as for
lyapunov(). Returns rows as `tresolva-batch lyapunov --sweep` writes them:
parameter, lambda1, error1 (and lambda2, error2, lambda3, error3), NaN
where a value's run cannot stand (a RuntimeWarning says why).)";

const char *const RENDER_DOC =
    R"(The picture tresolva-batch render draws: a (height, width, 3) uint8 array.

width, height: pixels (default the viewer's scene, 950 x 717)
frame:         the K-th frame of Dynamic or Segment playback (None: the first)
samples:       smooth edges, each pixel the mean of N samples (None: none)

Drawn headless through EGL, one call at a time; the pixels of render's PNG.)";

} // namespace

PYBIND11_MODULE(tresolva, m) {
  m.doc() = MODULE_DOC;
  py::class_<Settings>(m, "Settings", SETTINGS_DOC)
      .def(py::init([] { return startUpSettings(); }))
      .def_static("read", &readFile, py::arg("path"),
                  "The settings file at path, over the start-up values.")
      .def_static("parse", &parseText, py::arg("text"), py::arg("name") = "<text>",
                  "A settings file's text over the start-up values; name stands for the file "
                  "in messages.")
      .def("__str__", &settingsText)
      .def("__getitem__", &get, py::arg("key"))
      .def("__setitem__", &set, py::arg("key"), py::arg("value"))
      .def("__contains__",
           [](const Settings &, const std::string &key) { return findSetting(key) != nullptr; })
      .def("__iter__", [](const Settings &) { return py::iter(py::cast(keys())); })
      .def("__len__", [](const Settings &) { return settingsTable().size(); })
      .def(
          "keys", [](const Settings &) { return keys(); }, "The settings file's keys, in order.")
      .def(
          "copy", [](const Settings &s) { return s; }, "An independent copy.")
      .def("__getattr__", [](const Settings &s,
                             const std::string &name) { return get(s, attributeRow(name).key); })
      .def("__setattr__", [](Settings &s, const std::string &name, const py::handle &v) {
        set(s, attributeRow(name).key, v);
      });
  const auto measuring = [](bool spectrum) {
    // cppcheck-suppress passedByValue ; a copy, which other threads cannot change
    return [spectrum](Settings s, double transient, double time, double tau, double d0, int blocks,
                      int repeat) {
      return exponents(s, spectrum, transient, time, tau, d0, blocks, repeat);
    };
  };
  m.def("trajectory", &trajectory, py::arg("settings"), TRAJECTORY_DOC);
  m.def("maxima", &maxima, py::arg("settings"), MAXIMA_DOC);
  for (const auto &[name, spectrum, doc] :
       {std::tuple{"lyapunov", false, LYAPUNOV_DOC}, {"spectrum", true, SPECTRUM_DOC}})
    m.def(name, measuring(spectrum), py::arg("settings"), py::kw_only(),
          py::arg("transient") = 100.0, py::arg("time") = 10000.0, py::arg("tau") = 1.0,
          py::arg("d0") = 1e-8, py::arg("blocks") = 10, py::arg("repeat") = 1, doc);
  m.def("bifurcation", &bifurcation, py::arg("settings"), py::arg("param"), py::arg("values"),
        py::kw_only(), py::arg("transient") = 500.0, py::arg("time") = 1000.0,
        py::arg("threads") = py::none(), py::arg("simd") = "on", BIFURCATION_DOC);
  m.def("lyapunov_sweep", &lyapunovSweep, py::arg("settings"), py::arg("param"), py::arg("values"),
        py::kw_only(), py::arg("spectrum") = false, py::arg("transient") = 100.0,
        py::arg("time") = 10000.0, py::arg("tau") = 1.0, py::arg("d0") = 1e-8,
        py::arg("blocks") = 10, py::arg("threads") = py::none(), py::arg("simd") = "on",
        LYAPUNOV_SWEEP_DOC);
  m.def("render", &pixelsOf, py::arg("settings"), py::kw_only(), py::arg("width") = SCENE_WIDTH,
        py::arg("height") = SCENE_HEIGHT, py::arg("frame") = py::none(),
        py::arg("samples") = py::none(), RENDER_DOC);
  m.attr("__version__") = TRESOLVA_VERSION;
}
