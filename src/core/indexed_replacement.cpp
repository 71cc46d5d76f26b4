#include "core/indexed_replacement.h"

#include <algorithm>
#include <array>
#include <functional>
#include <span>
#include <string_view>
#include <tuple>
#include <utility>

#include "core/page_words.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// Bytes compared between two checkpoints; a place read or a replacement
// judged counts as a few.
constexpr size_t kWorkBetweenCheckpoints = size_t{1} << 20;
constexpr size_t kWorkOfAStep = 16;

// Where the anchors of the texts stand in the lower-cased page, ascending:
// a word of a text wherever it is a whole word of the page (every word of a
// standalone occurrence is), and the first byte of a text without words
// wherever it stands. All places are held in one array.
class AnchorPlaces {
 public:
  void Reserve(size_t keys) {
    keys_.reserve(keys);
    size_t slots = 16;
    while (slots < 2 * keys + 2) slots *= 2;
    slots_.assign(slots, 0);
  }

  size_t Add(std::string_view key) {
    if (2 * (keys_.size() + 1) > slots_.size()) Grow();
    size_t& slot = slots_[SlotOf(key)];
    if (slot == 0) {
      keys_.push_back(key);
      slot = keys_.size();
    }
    return slot - 1;
  }

  void Collect(std::string_view lowerPage) {
    std::vector<std::pair<size_t, size_t>> hits;  // key, place
    CollectWords(lowerPage, hits);
    CollectBytes(lowerPage, hits);
    begin_.assign(keys_.size() + 1, 0);
    for (const auto& hit : hits) ++begin_[hit.first + 1];
    for (size_t id = 0; id < keys_.size(); ++id) begin_[id + 1] += begin_[id];
    places_.resize(hits.size());
    std::vector<size_t> next(begin_.begin(), begin_.end() - 1);
    for (const auto& [id, place] : hits) places_[next[id]++] = place;
  }

  std::span<const size_t> Of(size_t id) const {
    return std::span<const size_t>(places_).subspan(begin_[id], begin_[id + 1] - begin_[id]);
  }

 private:
  void CollectWords(std::string_view lowerPage, std::vector<std::pair<size_t, size_t>>& hits) const {
    size_t longest = 0;
    for (std::string_view key : keys_) longest = std::max(longest, key.size());
    std::vector<char> wanted(longest + 1);
    for (std::string_view key : keys_) wanted[key.size()] = true;
    ForEachWord(lowerPage, [&](const Word& word) {
      if (word.bytes.size() > longest || !wanted[word.bytes.size()]) return;
      const size_t slot = slots_[SlotOf(word.bytes)];
      if (slot != 0) hits.emplace_back(slot - 1, word.offset);
    });
  }

  // Open addressing: the slot that holds the key, or the free one where it would go.
  size_t SlotOf(std::string_view key) const {
    const size_t mask = slots_.size() - 1;
    size_t at = std::hash<std::string_view>{}(key) & mask;
    while (slots_[at] != 0 && keys_[slots_[at] - 1] != key) at = (at + 1) & mask;
    return at;
  }

  void Grow() {
    slots_.assign(std::max<size_t>(16, 2 * slots_.size()), 0);
    for (size_t id = 0; id < keys_.size(); ++id) slots_[SlotOf(keys_[id])] = id + 1;
  }

  // Keys of one byte other than a name byte are first bytes of texts without words.
  void CollectBytes(std::string_view lowerPage, std::vector<std::pair<size_t, size_t>>& hits) const {
    std::array<size_t, 256> idOf;
    idOf.fill(keys_.size());
    bool any = false;
    for (size_t id = 0; id < keys_.size(); ++id)
      if (keys_[id].size() == 1 && !IsNameByte(keys_[id][0])) {
        idOf[static_cast<unsigned char>(keys_[id][0])] = id;
        any = true;
      }
    if (!any) return;
    for (size_t at = 0; at < lowerPage.size(); ++at) {
      const size_t id = idOf[static_cast<unsigned char>(lowerPage[at])];
      if (id < keys_.size()) hits.emplace_back(id, at);
    }
  }

  std::vector<std::string_view> keys_;
  std::vector<size_t> slots_;   // key id + 1, or 0 for a free slot; a power of two long, at most half full
  std::vector<size_t> begin_;   // where the places of each key begin in places_
  std::vector<size_t> places_;  // by key, ascending
};

struct Candidate {
  size_t text;
  size_t pos;
  bool operator<(const Candidate& other) const {
    return text != other.text ? text < other.text : pos < other.pos;
  }
};

class IndexedReplacer {
 public:
  IndexedReplacer(std::string& page, const std::vector<LinkReplacement>& replacements, const Checkpoint& checkpoint)
      : page_(page), replacements_(replacements), checkpoint_(checkpoint) {
    lowerPage_.assign(page_, 0, std::min(page_.find('\0'), page_.size()));
    text::LowerCp1251InPlace(lowerPage_);
    size_t bytes = 0;
    for (const LinkReplacement& r : replacements) bytes += r.text.size();
    lowerTexts_.reserve(bytes);
    for (const LinkReplacement& r : replacements) lowerTexts_ += r.text;
    text::LowerCp1251InPlace(lowerTexts_);
    lower_.reserve(replacements.size());
    for (size_t i = 0, from = 0; i < replacements.size(); from += replacements[i++].text.size())
      lower_.push_back(std::string_view(lowerTexts_).substr(from, replacements[i].text.size()));
  }

  std::vector<bool> Run() {
    checkpoint_();
    FindCandidates();
    std::vector<bool> made = Replace();
    Write();
    return made;
  }

 private:
  struct Anchor {
    size_t key;
    size_t offset;  // where the key begins in the text
  };

  // Every place where a text stands alone in the page as first read, found by
  // reading the places of each anchor once for all texts that share it.
  void FindCandidates() {
    // The words of text i are keys[from[i], from[i + 1]).
    std::vector<Anchor> keys;
    std::vector<size_t> from = {0};
    places_.Reserve(lower_.size());
    for (const std::string_view lower : lower_) {
      ForEachWord(lower, [&](const Word& word) { keys.push_back({places_.Add(word.bytes), word.offset}); });
      if (keys.size() == from.back() && !lower.empty()) keys.push_back({places_.Add(lower.substr(0, 1)), 0});
      from.push_back(keys.size());
    }
    places_.Collect(lowerPage_);
    checkpoint_();
    std::vector<Anchor> anchors(lower_.size());
    for (size_t i = 0; i < lower_.size(); ++i) {
      if (!MayOccur(i)) continue;
      order_.push_back(i);
      anchors[i] = Rarest(std::span<const Anchor>(keys).subspan(from[i], from[i + 1] - from[i]));
    }
    std::sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
      const Anchor &x = anchors[a], &y = anchors[b];
      return std::tie(x.key, x.offset, lower_[a], a) < std::tie(y.key, y.offset, lower_[b], b);
    });
    for (size_t first = 0; first < order_.size();) {
      size_t to = first + 1;
      const Anchor& anchor = anchors[order_[first]];
      while (to < order_.size() && anchors[order_[to]].key == anchor.key &&
             anchors[order_[to]].offset == anchor.offset)
        ++to;
      if (to - first == 1) {
        MatchAlone(order_[first], anchor);
      } else {
        for (size_t place : places_.Of(anchor.key))
          if (place >= anchor.offset) Walk(place - anchor.offset, first, to);
      }
      first = to;
    }
    std::sort(candidates_.begin(), candidates_.end());
  }

  bool MayOccur(size_t i) const { return !lower_[i].empty() && lower_[i].size() <= lowerPage_.size(); }

  Anchor Rarest(std::span<const Anchor> keys) const {
    return *std::min_element(keys.begin(), keys.end(), [&](const Anchor& a, const Anchor& b) {
      return places_.Of(a.key).size() < places_.Of(b.key).size();
    });
  }

  // Matches a text alone in its group at every place of its anchor. Where a
  // match reaches past the next place, as with a text that repeats its own
  // anchor, what is known of the page there is read from the text itself
  // (its Z-array), so that no byte of the page is compared twice over.
  void MatchAlone(size_t i, const Anchor& anchor) {
    const std::string_view text = lower_[i];
    std::vector<size_t> z;  // made when first needed
    size_t windowFrom = 0, windowTo = 0;  // lowerPage_[windowFrom, windowTo) equals the text's beginning
    for (size_t place : places_.Of(anchor.key)) {
      if (place < anchor.offset) continue;
      const size_t start = place - anchor.offset;
      Work(kWorkOfAStep);
      size_t matched = 0;
      if (start < windowTo) {
        if (z.empty()) z = ZArray(text);
        const size_t known = z[start - windowFrom];
        if (known < windowTo - start) continue;  // the page differs from the text there
        matched = windowTo - start;
      }
      const size_t before = matched;
      while (matched < text.size() && start + matched < lowerPage_.size() && lowerPage_[start + matched] == text[matched])
        ++matched;
      Work(matched - before);
      if (start + matched > windowTo) {
        windowFrom = start;
        windowTo = start + matched;
      }
      if (matched == text.size()) Keep(i, start);
    }
  }

  // z[k]: how many bytes from k on agree with the text's beginning; z[0] is its length.
  static std::vector<size_t> ZArray(std::string_view text) {
    std::vector<size_t> z(text.size());
    if (text.empty()) return z;
    z[0] = text.size();
    for (size_t k = 1, from = 0, to = 0; k < text.size(); ++k) {
      if (k < to) z[k] = std::min(to - k, z[k - from]);
      while (k + z[k] < text.size() && text[z[k]] == text[k + z[k]]) ++z[k];
      if (k + z[k] > to) {
        from = k;
        to = k + z[k];
      }
    }
    return z;
  }

  // Matches the texts order_[lo, hi), sorted, at `start`, byte by byte,
  // keeping those that stand alone there as candidates.
  void Walk(size_t start, size_t lo, size_t hi) {
    for (size_t depth = 0; lo < hi; ++depth) {
      Work(kWorkOfAStep);
      while (lo < hi && lower_[order_[lo]].size() == depth) Keep(order_[lo++], start);
      if (lo == hi) return;
      if (hi - lo == 1) {
        const std::string_view text = lower_[order_[lo]];
        Work(text.size());
        if (start + text.size() <= lowerPage_.size() &&
            std::string_view(lowerPage_).substr(start + depth, text.size() - depth) == text.substr(depth))
          Keep(order_[lo], start);
        return;
      }
      if (start + depth >= lowerPage_.size()) return;
      const unsigned char byte = static_cast<unsigned char>(lowerPage_[start + depth]);
      const auto byteOf = [&](size_t i) { return static_cast<unsigned char>(lower_[i][depth]); };
      const auto first = order_.begin() + static_cast<std::ptrdiff_t>(lo);
      const auto last = order_.begin() + static_cast<std::ptrdiff_t>(hi);
      const auto from = std::partition_point(first, last, [&](size_t i) { return byteOf(i) < byte; });
      const auto to = std::partition_point(from, last, [&](size_t i) { return byteOf(i) == byte; });
      lo = static_cast<size_t>(from - order_.begin());
      hi = static_cast<size_t>(to - order_.begin());
    }
  }

  void Keep(size_t i, size_t start) {
    if (StandsAlone(page_, start, lower_[i].size())) candidates_.push_back({i, start});
  }

  void Work(size_t amount) {
    work_ += amount;
    if (work_ < kWorkBetweenCheckpoints) return;
    work_ = 0;
    checkpoint_();
  }

  // The replacements in order, each over the candidates of its text that no
  // earlier one has taken, nor a neighbour of.
  std::vector<bool> Replace() {
    taken_.resize(lowerPage_.size());
    std::vector<bool> done(replacements_.size());
    std::vector<size_t> found;
    auto next = candidates_.begin();
    for (size_t i = 0; i < replacements_.size(); ++i) {
      Work(kWorkOfAStep);
      found.clear();
      bool exact = false;
      const std::string& text = replacements_[i].text;
      for (; next != candidates_.end() && next->text == i; ++next) {
        const size_t pos = next->pos;
        Work(text.size());
        if (Taken(pos == 0 ? 0 : pos - 1, pos + text.size() + 1)) continue;
        found.push_back(pos);
        exact = exact || page_.compare(pos, text.size(), text) == 0;
      }
      if (!exact) continue;
      // Left to right without overlaps; the neighbours were judged before any
      // of this replacement's occurrences was taken.
      size_t free = 0;
      for (size_t pos : found) {
        if (pos < free) continue;
        made_.emplace_back(pos, i);
        free = pos + text.size();
      }
      for (auto it = made_.rbegin(); it != made_.rend() && it->second == i; ++it)
        std::fill_n(taken_.begin() + static_cast<std::ptrdiff_t>(it->first), text.size(), true);
      done[i] = true;
    }
    return done;
  }

  // True when a byte in [from, to), clipped to the search area, is taken.
  bool Taken(size_t from, size_t to) const {
    for (size_t pos = from; pos < std::min(to, taken_.size()); ++pos)
      if (taken_[pos]) return true;
    return false;
  }

  void Write() {
    std::sort(made_.begin(), made_.end());
    std::string out;
    size_t copied = 0;
    for (const auto& [pos, i] : made_) {
      out.append(page_, copied, pos - copied).append(replacements_[i].resourceLink);
      copied = pos + replacements_[i].text.size();
    }
    page_ = out.append(page_, copied);
  }

  std::string& page_;
  const std::vector<LinkReplacement>& replacements_;
  const Checkpoint& checkpoint_;
  std::string lowerPage_;  // up to the first zero byte, where the search ends
  std::string lowerTexts_;             // every text lower-cased, one after the other
  std::vector<std::string_view> lower_;  // each text in lowerTexts_
  AnchorPlaces places_;
  std::vector<size_t> order_;  // the texts that may occur, by anchor and text
  std::vector<Candidate> candidates_;
  // The bytes of the search area that replacements have taken, a bit each:
  // a long page is held twice already.
  std::vector<bool> taken_;
  std::vector<std::pair<size_t, size_t>> made_;  // position, replacement
  size_t work_ = 0;  // since the last checkpoint
};

}  // namespace

std::vector<bool> ReplaceIndexed(std::string& page, const std::vector<LinkReplacement>& replacements,
                                 const Checkpoint& checkpoint) {
  return IndexedReplacer(page, replacements, checkpoint).Run();
}

}  // namespace pagefold
