#pragma once
// A display row's attribute and its packed state, and the read-only view of
// a document's rows that the parser and the control read through.
//
// Each row carries one 32-bit value: bits 0-3 the row attribute, bits 4-7
// the bracket state + 2 (so a new row, value 0, is "not yet computed"),
// bits 8-15 the token kind carried into the row, bits 16-31 zero.
#include <cstdint>
#include <string>

namespace vel {

enum TEditorRowAttribute : uint8_t { raCrlf = 0, raWrapped = 1, raEof = 2, raInvalid = 3 };

namespace rowstate {

// Bracket state of a row whose state has not been computed yet.
constexpr int kNotComputed = -2;
// Bracket state outside any bracket pair.
constexpr int kOutside = -1;

constexpr TEditorRowAttribute Attribute(uint32_t s) { return static_cast<TEditorRowAttribute>(s & 0x0F); }
constexpr uint32_t WithAttribute(uint32_t s, TEditorRowAttribute a) { return (s & ~0x0Fu) | (a & 0x0Fu); }
constexpr int Brackets(uint32_t s) { return static_cast<int>((s >> 4) & 0x0F) - 2; }
constexpr uint32_t WithBrackets(uint32_t s, int b) { return (s & ~0xF0u) | ((static_cast<uint32_t>(b + 2) & 0x0F) << 4); }
constexpr int Tokens(uint32_t s) { return static_cast<int>((s >> 8) & 0xFF); }
constexpr uint32_t WithTokens(uint32_t s, int t) { return (s & ~0xFF00u) | ((static_cast<uint32_t>(t) & 0xFF) << 8); }
// The state with only the attribute kept: bracket state and token not computed.
constexpr uint32_t Uncomputed(uint32_t s) { return s & 0x0Fu; }

}  // namespace rowstate

// Read access to display rows.
class IEditorRows {
 public:
  virtual ~IEditorRows() = default;
  virtual int RowCount() const = 0;
  virtual const std::string& RowText(int row) const = 0;
  // raInvalid outside the rows.
  virtual TEditorRowAttribute RowAttribute(int row) const = 0;
};

}  // namespace vel
