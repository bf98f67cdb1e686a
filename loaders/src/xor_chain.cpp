#include "korvena/loaders/xor_chain.h"

namespace korvena::loaders {

uint8_t XorChain::Next() {
  if (next_ >= stored_.size()) return 0;
  const auto stored = static_cast<uint8_t>(stored_[next_++]);
  const auto plain = static_cast<uint8_t>(stored ^ previous_);
  previous_ = stored;
  return plain;
}

}  // namespace korvena::loaders
