// Facts that a plain decision asks the glue for while it decides, so that nothing is gathered that
// the decision does not need: a facts struct holds fill (the glue's, fills one fact into the
// struct), context (for fill), asked (the facts filled so far) and the fields.
#pragma once
#include <cstdint>

namespace qorv {

// Fills a fact (one bit of the struct's kind) the first time a decision needs it.
template <typename Facts>
const Facts& Ask(Facts& facts, uint32_t fact) {
  if ((facts.asked & fact) == 0) {
    facts.asked |= fact;
    facts.fill(facts.context, fact, &facts);
  }
  return facts;
}

}  // namespace qorv
