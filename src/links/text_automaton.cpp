#include "links/text_automaton.h"

#include "text/case_rules.h"

namespace pagefold {
namespace {

const std::array<unsigned char, 256>& LowerTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> lower{};
    for (int b = 0; b < 256; ++b) lower[b] = text::LowerCp1251(static_cast<unsigned char>(b));
    return lower;
  }();
  return table;
}

}  // namespace

TextAutomaton::TextAutomaton(const std::vector<std::string_view>& texts) : lower_(LowerTable()) {
  rootChild_.fill(-1);
  BuildTrie(texts);
  LinkSuffixes();
}

// The trie, built from the texts in sorted order: each shares with the one
// before it the path of their common beginning, so that the children of a
// node are made by ascending byte.
void TextAutomaton::BuildTrie(const std::vector<std::string_view>& texts) {
  std::vector<int32_t> order;
  order.reserve(texts.size());
  for (size_t i = 0; i < texts.size(); ++i)
    if (!texts[i].empty()) order.push_back(static_cast<int32_t>(i));
  // Equal texts by ascending index, so that the first of them reaches their node first.
  std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    const int sign = texts[a].compare(texts[b]);
    return sign < 0 || (sign == 0 && a < b);
  });
  struct Edge {
    int32_t parent;
    unsigned char byte;
  };
  std::vector<Edge> edges(1);  // edges[n] leads to node n
  std::vector<int32_t> path(1, 0);
  numberOf_.assign(texts.size(), -1);
  std::string_view previous;
  for (int32_t index : order) {
    const std::string_view text = texts[index];
    size_t common = 0;
    while (common < previous.size() && common < text.size() && previous[common] == text[common]) ++common;
    path.resize(common + 1);
    for (size_t depth = common; depth < text.size(); ++depth) {
      edges.push_back({path.back(), static_cast<unsigned char>(text[depth])});
      path.push_back(static_cast<int32_t>(edges.size() - 1));
    }
    numberOf_[index] = path.back();  // its node, until the nodes are made
    previous = text;
  }
  nodes_.resize(edges.size());
  for (int32_t index : order) {
    Node& end = nodes_[numberOf_[index]];
    if (end.text < 0) end.text = index;
    numberOf_[index] = end.text;
  }

  // Each node's children side by side: count them, give each node its
  // range, then fill the ranges in the order the children were made.
  for (size_t n = 1; n < edges.size(); ++n) ++nodes_[edges[n].parent].edgeEnd;
  uint32_t begin = 0;
  for (Node& node : nodes_) {
    const uint32_t children = node.edgeEnd;
    node.edgeBegin = node.edgeEnd = begin;
    begin += children;
  }
  edgeBytes_.resize(edges.size() - 1);
  edgeNodes_.resize(edges.size() - 1);
  for (size_t n = 1; n < edges.size(); ++n) {
    const uint32_t slot = nodes_[edges[n].parent].edgeEnd++;
    edgeBytes_[slot] = edges[n].byte;
    edgeNodes_[slot] = static_cast<int32_t>(n);
    if (edges[n].parent == 0) rootChild_[edges[n].byte] = static_cast<int32_t>(n);
  }
}

// Failure links and the chains of texts ending at a node, breadth first.
void TextAutomaton::LinkSuffixes() {
  std::vector<int32_t> queue;
  queue.reserve(nodes_.size());
  queue.push_back(0);
  for (size_t head = 0; head < queue.size(); ++head) {
    const int32_t node = queue[head];
    for (uint32_t e = nodes_[node].edgeBegin; e < nodes_[node].edgeEnd; ++e) {
      const int32_t child = edgeNodes_[e];
      const int32_t suffix = node == 0 ? 0 : Next(nodes_[node].failure, edgeBytes_[e]);
      Node& c = nodes_[child];
      c.failure = suffix;
      c.nextEnding = nodes_[suffix].text >= 0 ? suffix : nodes_[suffix].nextEnding;
      c.firstEnding = c.text >= 0 ? child : (c.nextEnding > 0 ? c.nextEnding : -1);
      queue.push_back(child);
    }
  }
}

}  // namespace pagefold
