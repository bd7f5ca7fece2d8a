// A sweep along one parameter: its values, its shard, the loop over them
// on every core, and its rows as CSV and as a figure's series.
#include "batch/sweep.h"

#include <algorithm>
#include <cmath>

#include "batch/lanes.h"
#include "batch/output.h"
#include "state/settings_file.h"

float sweepValue(const Sweep &s, int k) {
  if (!s.given.empty()) return s.given[k];
  if (s.values == 1) return (float)s.from;
  return (float)(s.from + (s.to - s.from) * k / (s.values - 1));
}

std::string paramRefusal(Sweep &s, const std::string &name, const char *option) {
  const Model &m = *s.model;
  auto named =
      std::find_if(m.params, m.params + 3, [&](const Parameter &q) { return name == q.name; });
  if (named == m.params + 3)
    return option + (" " + forMessage(name)) + ": " + m.key + " has " + m.params[0].name + ", " +
           m.params[1].name + " and " + m.params[2].name;
  s.param = (int)(named - m.params);
  return "";
}

// A sweep's replay counts each value's steps in an int, as the viewer's does.
const double MOST_SWEEP_STEPS = 2147483647.0;

std::string timeRefusal(const Sweep &s) {
  if (!(s.transient >= 0) || !(s.time > s.transient) || !std::isfinite(s.time))
    return "--transient must be 0 or more and shorter than --time";
  if (s.time / s.dt > MOST_SWEEP_STEPS)
    return tooManySteps(s.time, s.dt, "--time", MOST_SWEEP_STEPS);
  return "";
}

std::vector<SweepValue> sweepValues(const Sweep &s, const ValuesOf &valuesOf) {
  std::vector<int> ks;
  for (int k = s.shard - 1; k < s.values; k += s.shards) ks.push_back(k);
  std::vector<SweepValue> out(ks.size());
  for (size_t j = 0; j < ks.size(); j++) out[j].value = sweepValue(s, ks[j]);
  onEveryCore(
      ks.size(), s.lanes, "value",
      [&](size_t first, size_t end) {
        valuesOf({ks.begin() + (long)first, ks.begin() + (long)end}, &out[first]);
      },
      s.stop);
  return out;
}

std::vector<std::string> problemLines(const Sweep &s, const std::vector<SweepValue> &values) {
  std::vector<std::string> lines;
  for (const SweepValue &v : values)
    if (!v.problem.empty())
      lines.push_back(std::string("at ") + s.model->params[s.param].name + " = " +
                      shortest(v.value) + ": " + v.problem);
  return lines;
}

std::string sweepCsv(const Sweep &s, const std::string &header,
                     const std::vector<SweepValue> &values) {
  std::string out = s.shard == 1 ? header + "\n" : "";
  for (const SweepValue &v : values) {
    const std::string value = shortest(v.value);
    for (const std::vector<double> &row : v.rows) {
      out += value;
      for (double field : row) out += "," + (std::isnan(field) ? "" : shortest(field));
      out += "\n";
    }
  }
  return out;
}

void seriesOf(const std::vector<SweepValue> &values, const std::vector<int> &columns,
              std::vector<double> &x, std::vector<std::vector<double>> &ys) {
  ys.assign(columns.size(), {});
  for (const SweepValue &v : values)
    for (const std::vector<double> &row : v.rows) {
      x.push_back(v.value);
      for (size_t c = 0; c < columns.size(); c++) ys[c].push_back(row[columns[c]]);
    }
}
