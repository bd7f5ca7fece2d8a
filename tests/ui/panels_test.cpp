// The panels as built: every control in order, its label with its blanks,
// the variable it is bound to, its limits and its items with their ids.
#include <gtest/gtest.h>

#include <string>

#include "state/state.h"
#include "support/startup.h"
#include "ui/layer.h"

namespace {

std::string nameOf(const void *var) {
  const struct {
    const void *var;
    const char *name;
  } known[] = {
      // clang-format off
      {&attype, "attype"}, {&dynamic, "dynamic"}, {&second, "second"}, {&sigma, "sigma"},
      {&ro, "ro"}, {&beta, "beta"}, {&aa, "aa"}, {&bb, "bb"}, {&cc, "cc"}, {&dsigma, "dsigma"},
      {&dro, "dro"}, {&dbeta, "dbeta"}, {&daa, "daa"}, {&dbb, "dbb"}, {&dcc, "dcc"},
      {&tmin, "tmin"}, {&tmaxstatic, "tmaxstatic"}, {&dt, "dt"}, {&zoom, "zoom"},
      {&coloring, "coloring"}, {&bg, "bg"}, {&thickness, "thickness"}, {&axes, "axes"},
      {&box, "box"}, {&xygrid, "xygrid"}, {&tracer, "tracer"}, {&map, "map"},
      // clang-format on
  };
  for (const auto &k : known)
    // cppcheck-suppress useStlAlgorithm
    if (k.var == var) return k.name;
  return "?";
}

const char *const right = R"list(panel ""
  panel "Attractor"
    radio attype "Lorentz" "Roessler"
  rollout " Lorentz  Parameters"
    separator
    spinner "ro" ro 1..300
    spinner "sigma" sigma 0.1..20
    spinner "beta" beta 0.1..60
    spinner "dro" dro -10..10
    spinner "dsigma" dsigma -10..10
    spinner "dbeta" dbeta -10..10
    text "     (spacebar to add dx)"
  rollout "   Roessler  Parameters"
    spinner "a" aa 0.01..10
    spinner "b" bb 0.01..10
    spinner "c" cc 0.1..50
    spinner "da" daa -10..10
    spinner "db" dbb -10..10
    spinner "dc" dcc -10..10
    text "     (spacebar to add dx)"
  separator
  panel "Rendering"
    radio dynamic "Static" "Dynamic" "Segment"
  checkbox "    Twin trajectory" second
  text "    Press s to recreate trajectory"
  separator
  button "Random Initial Condition"
  separator
  text "     Miscellaneous controls"
  spinner "tmin" tmin 0..5000
  spinner "tmax" tmaxstatic 0..10000
  spinner "dt" dt 0.0001..1
  spinner "Zoom" zoom 0.1..300
  text "       (z & mouse to zoom)"
  separator
  listbox "Coloring: " coloring 1="Quasiperiodic" 2="Speed" 3="Red ghost" 4="Red/Green/Blue" 5="Black/White" 6="Grey ghost" 7="Green-Blue"
  listbox "Background: " bg 1="White" 0="Black"
  listbox "Lines: " thickness 1="Thin" 3="Thick" 5="Thicker"
)list";

const char *const bottom = R"list(panel ""
  rollout "About"
    text "Tresolva, v1.0"
    text "Lorenz and Roessler flows: chaos, drawn live."
  column with bar
  rollout "Info"
    text "Lorentz attractor:"
    text "dx/dt = sigma*(y-x),"
    text "dy/dt = x*(ro-z)-y,"
    text "dz/dt = x*y-beta*z."
    text "Maximum Map:"
    text "|(n+1)th x maximum| vs"
    text "|nth x maximum|."
    separator
    text "Roessler attractor:"
    text "dx/dt =-y-z,"
    text "dy/dt=x+a*y,"
    text "dz/dt=b+z*(x-c)."
    text "Maximum Map:"
    text "(n+1)th x maximum vs"
    text "nth x maximum."
    separator
    text "Axes: x,y, 0 to 30; z, 0 to 60"
    text "Box: x,y, -30 to 30; z 0 to 60"
  column with bar
  rollout "Controls"
    text "Rotate Attractor:"
    text "Left-click + mouse."
    text "Translate Attractor:"
    text "Right-click + mouse."
    text "Zoom: z + mouse."
    text "Change parameter"
    text "X by dX:"
    text "space bar."
  column with bar
  checkbox "Axes" axes
  column with bar
  checkbox "Box" box
  column with bar
  checkbox "X-Y Grid" xygrid
  column with bar
  checkbox "Tracer" tracer
  column with bar
  checkbox "Maximum Map" map
  column with bar
  button "Reset"
  column with bar
  button "Quit"
)list";

} // namespace

TEST(Panels, EveryControlInOrderWithItsLabelVariableLimitsAndItems) {
  restoreStartup();
  std::string got;
  ui::master.right->describe(got, nameOf, 0);
  EXPECT_EQ(got, right);
  got.clear();
  ui::master.bottom->describe(got, nameOf, 0);
  EXPECT_EQ(got, bottom);
}
