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

using Frames = std::vector<std::string>;

// What an accepted command leaves in info n: its name and the number, e.g.
// "V37", so a label shows whether it was read after the command.
inline std::string ValueAfter(const std::string& command, int n) { return command + std::to_string(n); }

struct SalesRig : KalibroRig {
  SalesRig() {
    ChooseComItem(0);
    TypePassword("0");
    Start();
    for (const char* name : {"S", "L", "LS", "LZ", "LP", "LM", "LV", "K", "F", "KF", "DX", "DZ", "MI", "MD", "V"})
      device.Override(name, [](emu::Device& d, const emu::Command& command) {
        for (const int n : {8, 20, 36, 37, 38, 39, 61, 62, 63, 64, 65})
          d.state().info[n] = ValueAfter(command.name(), n);
        d.Reply("0");
      });
  }

  // Chooses menu item `name`; the frames it sent, each without its ESC ";".
  Frames Choose(const char* name) {
    const std::size_t before = device.received().size();
    form->MenuAction(name)->trigger();
    Frames frames;
    for (std::size_t i = before; i < device.received().size(); ++i) {
      const std::string& frame = device.received()[i];
      EXPECT_EQ(frame.substr(0, 2), "\x1b;");
      frames.push_back(frame.substr(2));
    }
    return frames;
  }
};

}  // namespace korvena::kalibro
