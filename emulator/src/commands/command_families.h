#pragma once
// The device's commands, one family per file. The Device constructor
// registers each of them once; a new family adds its Register function here
// and a call there.
namespace korvena::emu {

class Device;

void RegisterIdentityCommands(Device& device);  // info query IV and INFO
void RegisterDriverCommands(Device& device);    // LDX data and SD-card days
void RegisterReceiptCommands(Device& device);   // opening receipts and invoices, receipt lines
void RegisterPaymentCommands(Device& device);   // paying and closing receipts and invoices
void RegisterCashCommands(Device& device);      // deposits and withdrawals
void RegisterReportCommands(Device& device);    // daily and interval reports, the daily closing
void RegisterCopyCommands(Device& device);      // copies of kept documents
void RegisterCrcCommands(Device& device);       // CRC announcement frames
void RegisterLoaderCommands(Device& device);    // template upload and firmware boot loader
void RegisterSetupCommands(Device& device);     // service program commands
void RegisterPasswordCurrencyRoundingCommands(Device& device);  // service password, currencies, rounding
void RegisterHeaderFooterCommands(Device& device);  // receipt header and footer lines
void RegisterFiscalIdentityCommands(Device& device);  // tax identity, VAT, register flags, commissioning
void RegisterServiceCommands(Device& device);  // clock, closing date, line speeds, emblem, zeroing, pairing
void RegisterFiscalMemoryCommands(Device& device);    // the fiscal memory read-out

}  // namespace korvena::emu
