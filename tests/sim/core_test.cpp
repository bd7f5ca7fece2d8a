// The simulation core: one step of each model, and the replay run on many
// threads at once giving every state bit for bit as on one.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "sim/core.h"
#include "sim/rk4.h"
#include "state/state.h"
#include "support/startup.h"

// From (5, 5, 1) with the start-up parameters, single precision widened.
TEST(Core, FirstSlopeOfEachModelFromTheBuiltInStart) {
  const struct Case {
    int attype;
    double k1[3];
    double stretcher;
  } cases[] = {
      {0, {0, 130, 25 - (double)(8.0f / 3.0f)}, 1.0},
      {1, {-6, 5 + 5 * (double)0.2f, (double)0.2f + (5 - (double)5.7f)}, 1.5},
      {7, {0, 130, 25 - (double)(8.0f / 3.0f)}, 1.0}, // any other model number: Lorenz
  };
  for (const Case &c : cases) {
    restoreStartup();
    attype = c.attype;
    double a = 5, b = 5, z0 = 1;
    rk4Step(a, b, z0);
    EXPECT_EQ(k1x, c.k1[0]) << "attype " << c.attype;
    EXPECT_EQ(k1y, c.k1[1]) << "attype " << c.attype;
    EXPECT_EQ(k1z, c.k1[2]) << "attype " << c.attype;
    EXPECT_EQ(stretcher, c.stretcher) << "attype " << c.attype;
  }
}

namespace {

// Every state after every step, main and twin.
void keep(void *ctx, bool) {
  auto *out = static_cast<std::pair<std::vector<double> *, Trajectory *> *>(ctx);
  const Trajectory &tr = *out->second;
  for (double v : {tr.x, tr.y, tr.z, tr.x2, tr.y2, tr.z2}) out->first->push_back(v);
}

std::vector<double> history(int job) {
  const Model &m = models[job % 2];
  ReplaySettings r{&m, {}, 0.005f, 0, 25, 0, 1};
  for (int k = 0; k < 3; k++) r.p[k] = (double)m.params[k].start * (1 + 0.01 * job);
  Trajectory tr{};
  tr.xsec = tr.ysec = 5, tr.zsec = 1, tr.x2sec = tr.y2sec = 5 + 1e-9, tr.z2sec = 1 + 1e-9;
  std::vector<double> out;
  std::pair<std::vector<double> *, Trajectory *> ctx{&out, &tr};
  loadStart(tr);
  replaySteps(r, tr, keep, &ctx);
  return out;
}

} // namespace

TEST(Core, ReplayOnEightThreadsGivesEveryStateBitForBitAsOnOne) {
  std::vector<std::vector<double>> alone, together(8);
  for (int job = 0; job < 8; job++) alone.push_back(history(job));
  std::vector<std::thread> threads;
  threads.reserve(8);
  for (int job = 0; job < 8; job++)
    threads.emplace_back([&, job] { together[job] = history(job); });
  for (auto &th : threads) th.join();
  for (int job = 0; job < 8; job++) {
    ASSERT_EQ(alone[job].size(), 6u * 4999);
    EXPECT_EQ(std::memcmp(alone[job].data(), together[job].data(), alone[job].size() * 8), 0)
        << "job " << job;
  }
}
