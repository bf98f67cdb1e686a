#pragma once
// A port seen as one whose library has only the six calls every port library
// has: no WaitRead, so each wait polls Read as every wait did before the
// library could wait itself. Tests compare the two ways, benchmarks their cost.
#include "korvena/link/pass_through_port.h"

namespace korvena {

class SixCallPort final : public PassThroughPort {
 public:
  using PassThroughPort::PassThroughPort;
  // The calls the six do not have: what a port without them answers.
  bool WaitRead(uint32_t ms) override { return Port::WaitRead(ms); }
  std::string OpenProblem() const override { return Port::OpenProblem(); }
};

}  // namespace korvena
