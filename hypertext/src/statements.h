#pragma once
// The statement loop, the nine statements and their HTX encoding, label
// references and the check pass that patches them.
#include <cstdint>
#include <string>
#include <string_view>

#include "expressions.h"
#include "identifier_table.h"
#include "korvena/hypertext/htx_format.h"
#include "preprocessor.h"
#include "reader.h"
#include "scanner.h"

namespace korvena::hypertext {

// The HTX file being assembled. Bytes past its capacity are refused once
// with an error and dropped, so the file is never written.
class HtxOutput {
 public:
  explicit HtxOutput(SourceReader& reader) : reader_(reader) { bytes_.reserve(htx::kCapacity); }

  void Emit(std::uint8_t byte);
  std::uint16_t Length() const { return static_cast<std::uint16_t>(bytes_.size()); }
  // Overwrites a byte emitted earlier.
  void Patch(std::uint16_t position, std::uint8_t byte);
  const std::string& Bytes() const { return bytes_; }

 private:
  SourceReader& reader_;
  std::string bytes_;
  bool overflowReported_ = false;
};

class Statements {
 public:
  Statements(SourceReader& reader, Scanner& scanner, Expressions& expressions, Preprocessor& preprocessor,
             IdentifierTable& identifiers, HtxOutput& output);

  // Compiles every line up to the end of the source, then the final label mark.
  void Run();
  // Fills in label numbers and reports labels never defined (error) and
  // identifiers never used (warning).
  void CheckPass();

 private:
  void Statement(Token keyword);
  void StatementB();
  void StatementG();
  void StatementI();
  void StatementL();
  void StatementR();
  void StatementS();
  void StatementT();
  void StatementV(bool marked);

  // The comma after the keyword or between arguments; error 4 when missing.
  bool ExpectComma();
  // Reads the next token and starts a value there.
  bool ReadValue(TokenSet follow, std::int32_t& value);
  // Emits a placeholder for a label's number and notes where it is.
  bool Reference(const std::string& name);
  void EmitValue(std::int32_t value) { output_.Emit(static_cast<std::uint8_t>(value)); }

  SourceReader& reader_;
  Scanner& scanner_;
  Expressions& expressions_;
  Preprocessor& preprocessor_;
  IdentifierTable& identifiers_;
  HtxOutput& output_;
  std::int32_t labelCount_ = 0;
};

}  // namespace korvena::hypertext
