#include "links/text_automaton.h"

#include <algorithm>
#include <numeric>

#include "text/case_rules.h"

namespace pagefold {

TextAutomaton::TextAutomaton(const std::vector<std::string_view>& texts) {
  for (int b = 0; b < 256; ++b) lower_[b] = text::LowerCp1251(static_cast<unsigned char>(b));
  rootChild_.fill(-1);

  // The trie, built from the texts in sorted order: each shares with the one
  // before it the path of their common beginning, and a node's children come
  // by ascending byte.
  std::vector<size_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return texts[a] < texts[b]; });
  struct Edge {
    int32_t parent;
    unsigned char byte;
  };
  std::vector<Edge> edges(1);  // edges[n] leads to node n; node 0 is the root
  textAt_.assign(1, -1);
  std::vector<int32_t> path(1, 0);
  std::string_view previous;
  for (size_t index : order) {
    const std::string_view text = texts[index];
    size_t common = 0;
    while (common < previous.size() && common < text.size() && previous[common] == text[common]) ++common;
    path.resize(common + 1);
    for (size_t depth = common; depth < text.size(); ++depth) {
      edges.push_back({path.back(), static_cast<unsigned char>(text[depth])});
      textAt_.push_back(-1);
      path.push_back(static_cast<int32_t>(edges.size() - 1));
    }
    textAt_[path.back()] = static_cast<int32_t>(index);
    previous = text;
  }
  const size_t nodes = edges.size();
  edgeStart_.assign(nodes + 1, 0);
  for (size_t n = 1; n < nodes; ++n) ++edgeStart_[edges[n].parent + 1];
  std::partial_sum(edgeStart_.begin(), edgeStart_.end(), edgeStart_.begin());
  edgeBytes_.resize(nodes - 1);
  edgeNodes_.resize(nodes - 1);
  std::vector<uint32_t> filled(edgeStart_.begin(), edgeStart_.end() - 1);
  for (size_t n = 1; n < nodes; ++n) {
    const uint32_t slot = filled[edges[n].parent]++;
    edgeBytes_[slot] = edges[n].byte;
    edgeNodes_[slot] = static_cast<int32_t>(n);
    if (edges[n].parent == 0) rootChild_[edges[n].byte] = static_cast<int32_t>(n);
  }

  // Failure links and the chains of texts ending at a node, breadth first.
  failure_.assign(nodes, 0);
  firstEnding_.assign(nodes, -1);
  nextEnding_.assign(nodes, 0);
  std::vector<int32_t> queue;
  queue.reserve(nodes);
  queue.push_back(0);
  for (size_t head = 0; head < queue.size(); ++head) {
    const int32_t node = queue[head];
    for (uint32_t e = edgeStart_[node]; e < edgeStart_[node + 1]; ++e) {
      const int32_t child = edgeNodes_[e];
      const int32_t suffix = node == 0 ? 0 : Next(failure_[node], edgeBytes_[e]);
      failure_[child] = suffix;
      nextEnding_[child] = textAt_[suffix] >= 0 ? suffix : nextEnding_[suffix];
      firstEnding_[child] = textAt_[child] >= 0 ? child : (nextEnding_[child] > 0 ? nextEnding_[child] : -1);
      queue.push_back(child);
    }
  }
}

int32_t TextAutomaton::Child(int32_t node, unsigned char byte) const {
  if (node == 0) return rootChild_[byte];
  const auto begin = edgeBytes_.begin() + edgeStart_[node], end = edgeBytes_.begin() + edgeStart_[node + 1];
  const auto found = std::lower_bound(begin, end, byte);
  return found != end && *found == byte ? edgeNodes_[found - edgeBytes_.begin()] : -1;
}

int32_t TextAutomaton::Next(int32_t state, unsigned char byte) const {
  for (;;) {
    const int32_t child = Child(state, byte);
    if (child >= 0) return child;
    if (state == 0) return 0;
    state = failure_[state];
  }
}

}  // namespace pagefold
