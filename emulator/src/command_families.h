#pragma once
// The device's commands, one family per file. A Device registers all of
// them when it is made; a new family adds its Register function here and in
// device.cpp.
namespace korvena::emu {

class Device;

void RegisterIdentityCommands(Device& device);  // info query IV (and INFO)
void RegisterDriverCommands(Device& device);    // commands the driver library relies on
void RegisterSalesCommands(Device& device);     // receipts, invoices, cash, reports (via the driver family)
void RegisterCrcCommands(Device& device);       // CRC announcement frames (via the driver family)
void RegisterLoaderCommands(Device& device);    // template upload and firmware boot loader
void RegisterSetupCommands(Device& device);     // service program commands

}  // namespace korvena::emu
