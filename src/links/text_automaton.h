// An Aho–Corasick automaton over a set of texts, matched without regard to
// letter case (Windows-1251 letter pairs): one pass over a page finds every
// place where any of the texts ends, in time linear in the page, the texts
// and the places reported.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pagefold {

class TextAutomaton {
 public:
  // The texts, lower-cased; empty ones are left out. Equal texts are one:
  // each goes by the number (index) of the first of them.
  explicit TextAutomaton(const std::vector<std::string_view>& texts);

  // The number that texts[index] goes by; -1 for an empty one.
  int32_t NumberOf(size_t index) const { return numberOf_[index]; }

  // For every end (one past a text's last byte) in page for which wanted(end)
  // holds, calls found(text number, end) for each text ending there, longest
  // first.
  template <typename Wanted, typename Found>
  void Scan(std::string_view page, Wanted wanted, Found found) const {
    int32_t state = 0;
    for (size_t pos = 0; pos < page.size(); ++pos) {
      state = Next(state, lower_[static_cast<unsigned char>(page[pos])]);
      if (nodes_[state].firstEnding < 0 || !wanted(pos + 1)) continue;
      for (int32_t node = nodes_[state].firstEnding; node > 0; node = nodes_[node].nextEnding)
        found(nodes_[node].text, pos + 1);
    }
  }

 private:
  struct Node {
    uint32_t edgeBegin = 0, edgeEnd = 0;  // its children: edgeBytes_ and edgeNodes_ in [edgeBegin, edgeEnd), by ascending byte
    int32_t failure = 0;                  // the node of the longest proper suffix that is in the trie
    int32_t text = -1;                    // the number of the text that ends here, or -1
    int32_t firstEnding = -1;             // the node itself or its nearest suffix where a text ends; -1 for none
    int32_t nextEnding = 0;               // the nearest proper suffix where a text ends; 0 for none
  };

  int32_t Child(int32_t node, unsigned char byte) const {
    if (node == 0) return rootChild_[byte];
    const auto begin = edgeBytes_.begin() + nodes_[node].edgeBegin, end = edgeBytes_.begin() + nodes_[node].edgeEnd;
    const auto found = std::lower_bound(begin, end, byte);
    return found != end && *found == byte ? edgeNodes_[found - edgeBytes_.begin()] : -1;
  }

  int32_t Next(int32_t state, unsigned char byte) const {
    for (;;) {
      const int32_t child = Child(state, byte);
      if (child >= 0) return child;
      if (state == 0) return 0;
      state = nodes_[state].failure;
    }
  }

  void BuildTrie(const std::vector<std::string_view>& texts);
  void LinkSuffixes();

  const std::array<unsigned char, 256>& lower_;
  std::array<int32_t, 256> rootChild_;  // -1 where the root has no child
  std::vector<Node> nodes_;             // node 0 is the root
  std::vector<unsigned char> edgeBytes_;
  std::vector<int32_t> edgeNodes_;
  std::vector<int32_t> numberOf_;  // by text
};

}  // namespace pagefold
