// Per-operation countdowns for injected file failures.
#include "Database/gxFaultInjection.h"

namespace {

struct FaultPlan {
  int countdown = 0;  // 0 = no fault planned
  bool persistent = false;
  bool failing = false;  // a persistent fault has fired
};

constexpr int kOperationCount = 5;
FaultPlan gPlans[kOperationCount];
int gFired = 0;

}  // namespace

void gxInjectFault(gxFaultOp op, int failOnNth, bool persistent) {
  FaultPlan& plan = gPlans[static_cast<int>(op)];
  plan.countdown = failOnNth < 1 ? 1 : failOnNth;
  plan.persistent = persistent;
  plan.failing = false;
}

void gxClearFaults() {
  for (FaultPlan& plan : gPlans) plan = FaultPlan();
  gFired = 0;
}

int gxFaultsFired() {
  return gFired;
}

bool gxFaultShouldFail(gxFaultOp op) {
  FaultPlan& plan = gPlans[static_cast<int>(op)];
  if (plan.failing) {
    ++gFired;
    return true;
  }
  if (plan.countdown == 0) return false;
  if (--plan.countdown > 0) return false;
  plan.failing = plan.persistent;
  ++gFired;
  return true;
}
