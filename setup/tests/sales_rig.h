#pragma once
// Kalibro started on the emulated device for the "&Funkcie FT" commands. The
// device's own sale and report commands are replaced by ones that accept
// everything and then move the values Kalibro reads back, so the tests see
// what Kalibro sends and shows whatever the device's sales rules are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kalibro_rig.h"

namespace korvena::kalibro {

// What an accepted command leaves in info n: its name and the number, e.g.
// "V37", so a label shows whether it was read after the command.
inline std::string ValueAfter(const std::string& command, int n) { return command + std::to_string(n); }

struct SalesRig : KalibroRig {
  SalesRig() {
    StartAs("0");
    for (const char* name : {"S", "L", "LS", "LZ", "LP", "LM", "LV", "K", "F", "KF", "DX", "DZ", "MI", "MD", "V"})
      device.Override(name, [](emu::Device& d, const emu::Command& command) {
        for (const int n : {8, 20, 36, 37, 38, 39, 61, 62, 63, 64, 65})
          d.state().info[n] = ValueAfter(command.name(), n);
        d.Reply("0");
      });
  }

};

}  // namespace korvena::kalibro
