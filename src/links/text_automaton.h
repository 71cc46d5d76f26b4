// An Aho–Corasick automaton over a set of texts, matched without regard to
// letter case (Windows-1251 letter pairs): one pass over a page finds every
// place where any of the texts ends, in time linear in the page, the texts
// and the places reported.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pagefold {

class TextAutomaton {
 public:
  // The texts, lower-cased, distinct and not empty; they are numbered in the
  // order given.
  explicit TextAutomaton(const std::vector<std::string_view>& texts);

  // For every end (one past a text's last byte) in page for which wanted(end)
  // holds, calls found(text number, end) for each text ending there, longest
  // first.
  template <typename Wanted, typename Found>
  void Scan(std::string_view page, Wanted wanted, Found found) const {
    int32_t state = 0;
    for (size_t pos = 0; pos < page.size(); ++pos) {
      state = Next(state, lower_[static_cast<unsigned char>(page[pos])]);
      if (firstEnding_[state] < 0 || !wanted(pos + 1)) continue;
      for (int32_t node = firstEnding_[state]; node > 0; node = nextEnding_[node]) found(textAt_[node], pos + 1);
    }
  }

 private:
  int32_t Child(int32_t node, unsigned char byte) const;
  int32_t Next(int32_t state, unsigned char byte) const;

  std::array<unsigned char, 256> lower_;
  std::array<int32_t, 256> rootChild_;  // -1 where the root has no child
  // The children of node n, by ascending byte: edgeBytes_ and edgeNodes_ from
  // edgeStart_[n] to edgeStart_[n + 1].
  std::vector<uint32_t> edgeStart_;
  std::vector<unsigned char> edgeBytes_;
  std::vector<int32_t> edgeNodes_;
  std::vector<int32_t> failure_;      // the node of the longest proper suffix that is in the trie
  std::vector<int32_t> textAt_;       // the text that ends at a node, or -1
  std::vector<int32_t> firstEnding_;  // the node itself or its nearest suffix where a text ends; -1 for none
  std::vector<int32_t> nextEnding_;   // the nearest proper suffix where a text ends; 0 for none
};

}  // namespace pagefold
