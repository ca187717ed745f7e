// The twins of a problem as one pass: each step yields the twin's heading,
// position and stipulation, built from the diagram (or, successive, from the
// twin before) by its entries; the solve driver and the soundness check
// solve what it yields. A problem without twins is one step without a
// heading.
#pragma once

#include <string>
#include <string_view>

#include "core/position.h"
#include "solver/problem_type.h"
#include "strings/language.h"

namespace kv {

struct TwinStep {
  int letter = 0;       // 0 for a), 1 for b) ...
  std::string heading;  // "a) Diagram", "b) Kwh3->h2 et -Pwd2" (Windows-1252); empty without twins
  Board board{};        // the twin's position
  ProblemType type{};   // the twin's stipulation
  bool duplex = false;  // an entry of the twin is the duplex
  bool typeChanged = false;  // an entry changed the stipulation
};

// The letter of a twin heading: a..z, then A..Z and on.
char TwinLetter(int letter);

class TwinPass {
 public:
  // `field` is the stored twins field (empty for none), `diagram` and
  // `type` the problem's. The language names the men of the headings.
  TwinPass(std::string_view field, const Board& diagram, const ProblemType& type,
           const Language& language);

  // The next twin into `step`; false when there is none left. `previousKey`
  // is the first key (or first solution move) of the twin solved before,
  // which an "after the key" entry plays; an empty move plays nothing.
  bool Next(const Move& previousKey, TwinStep& step);

 private:
  std::string field_;
  Board diagram_{};
  Board current_{};  // the board the next twin builds on
  ProblemType type_{};
  const Language& language_;
  int entries_ = 0;
  int next_ = 0;  // the next entry to apply
  int letter_ = 0;
  bool successive_ = false;
  bool done_ = false;
};

}  // namespace kv
