#include "core/word_replacement.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "core/page_words.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

constexpr size_t kReplacementsBetweenCheckpoints = 256;
constexpr size_t kPlacesBetweenCheckpoints = size_t{1} << 16;

// A stretch of the page as first read that replacements have taken, and the
// word that stands there now: a resource link, or that link several times.
struct Stretch {
  size_t end;
  std::string word;
  size_t id;  // from 1, never used again once the stretch is swallowed
};
using Stretches = std::map<size_t, Stretch>;  // by where each begins

// A byte of the current page, or its end: the byte `at` of the page as first
// read, or, when a stretch begins at `at`, the byte `k` of its word.
class Cursor {
 public:
  Cursor(const std::string& page, const Stretches& stretches, size_t at)
      : page_(&page), stretches_(&stretches), next_(stretches.lower_bound(at)), at_(at) {}

  bool AtBegin() const { return at_ == 0 && k_ == 0; }
  bool AtEnd() const { return !InStretch() && at_ == page_->size(); }
  char Byte() const { return InStretch() ? next_->second.word[k_] : (*page_)[at_]; }
  size_t At() const { return at_; }
  std::pair<size_t, size_t> Key() const { return {at_, k_}; }

  void Forward() {
    if (!InStretch()) {
      ++at_;
    } else if (++k_ == next_->second.word.size()) {
      at_ = next_->second.end;
      k_ = 0;
      ++next_;
    }
  }

  void Back() {
    if (k_ > 0) {
      --k_;
    } else if (next_ != stretches_->begin() && std::prev(next_)->second.end == at_) {
      --next_;
      at_ = next_->first;
      k_ = next_->second.word.size() - 1;
    } else {
      --at_;
    }
  }

 private:
  bool InStretch() const { return next_ != stretches_->end() && next_->first == at_; }

  const std::string* page_;
  const Stretches* stretches_;
  Stretches::const_iterator next_;  // the first stretch that begins at or after at_
  size_t at_;
  size_t k_ = 0;
};

// Where a word of the page stands: a word of the page as first read (id 0),
// or the word of a stretch.
struct Place {
  size_t at;
  size_t id;
};

// What a text is looked up by: its rarest word, or, for a text without
// words, its first byte, which is then a byte of the page as first read.
struct Anchor {
  std::string_view key;
  size_t offset;
};

class WordReplacer {
 public:
  WordReplacer(std::string& page, const std::vector<LinkReplacement>& replacements, const Checkpoint& checkpoint)
      : page_(page), replacements_(replacements), checkpoint_(checkpoint) {
    for (const LinkReplacement& r : replacements) lower_.push_back(text::LowerCp1251(r.text));
    checkpoint_();
    IndexPage();
    checkpoint_();
  }

  std::vector<bool> Run() {
    std::vector<bool> made(replacements_.size());
    for (size_t i = 0; i < replacements_.size(); ++i) {
      if (i % kReplacementsBetweenCheckpoints == 0) checkpoint_();
      made[i] = Replace(replacements_[i], lower_[i]);
    }
    std::string out;
    size_t copied = 0;
    for (const auto& [begin, stretch] : stretches_) {
      out.append(page_, copied, begin - copied).append(stretch.word);
      copied = stretch.end;
    }
    page_ = out.append(page_, copied);
    return made;
  }

 private:
  // Indexes the words of the page as first read, up to its first zero byte,
  // that are anchors of some text.
  void IndexPage() {
    std::array<bool, 256> firstBytes{};
    for (const std::string& lower : lower_) {
      bool anyWord = false;
      ForEachWord(lower, [&](const Word& word) {
        places_.try_emplace(word.bytes);
        anyWord = true;
      });
      if (!anyWord && !lower.empty()) {
        places_.try_emplace(std::string_view(lower).substr(0, 1));
        firstBytes[static_cast<unsigned char>(lower[0])] = true;
      }
    }
    const std::string lowerPage = text::LowerCp1251(page_.substr(0, std::min(page_.find('\0'), page_.size())));
    ForEachWord(lowerPage, [&](const Word& word) { AddPlace(word.bytes, {word.offset, 0}); });
    for (size_t at = 0; at < lowerPage.size(); ++at)
      if (firstBytes[static_cast<unsigned char>(lowerPage[at])]) AddPlace(std::string_view(lowerPage).substr(at, 1), {at, 0});
  }

  void AddPlace(std::string_view key, Place place) {
    const auto it = places_.find(key);
    if (it != places_.end()) it->second.push_back(place);
  }

  Anchor AnchorOf(const std::string& lower) {
    std::optional<Anchor> rarest;
    size_t fewest = 0;
    ForEachWord(lower, [&](const Word& word) {
      const size_t count = places_.at(word.bytes).size();
      if (!rarest || count < fewest) {
        rarest = Anchor{word.bytes, word.offset};
        fewest = count;
      }
    });
    return rarest.value_or(Anchor{std::string_view(lower).substr(0, 1), 0});
  }

  bool IsCurrent(const Place& place) const {
    if (place.id != 0) {
      const auto it = stretches_.find(place.at);
      return it != stretches_.end() && it->second.id == place.id;
    }
    const auto it = stretches_.upper_bound(place.at);
    return it == stretches_.begin() || std::prev(it)->second.end <= place.at;
  }

  // Where the text may begin in the current page, in page order. Places no
  // longer in the page are dropped from the index on the way.
  std::vector<Cursor> PossibleStarts(const std::string& lower) {
    const Anchor anchor = AnchorOf(lower);
    std::vector<Place>& places = places_.at(anchor.key);
    std::vector<Cursor> starts;
    size_t kept = 0;
    for (size_t n = 0; n < places.size(); ++n) {
      if (n % kPlacesBetweenCheckpoints == kPlacesBetweenCheckpoints - 1) checkpoint_();
      if (!IsCurrent(places[n])) continue;
      places[kept++] = places[n];
      Cursor start(page_, stretches_, places[n].at);
      size_t back = 0;
      for (; back < anchor.offset && !start.AtBegin(); ++back) start.Back();
      if (back == anchor.offset) starts.push_back(start);
    }
    places.resize(kept);
    std::sort(starts.begin(), starts.end(), [](const Cursor& a, const Cursor& b) { return a.Key() < b.Key(); });
    return starts;
  }

  struct Occurrence {
    size_t begin, end;  // in the page as first read
    std::pair<size_t, size_t> endKey;
    bool exact;
  };

  // The text standing alone at `start`, matched without regard to case.
  std::optional<Occurrence> Match(Cursor start, const std::string& text, const std::string& lower) const {
    if (!start.AtBegin()) {
      Cursor before = start;
      before.Back();
      if (IsNameByte(before.Byte())) return std::nullopt;
    }
    Cursor at = start;
    bool exact = true;
    for (size_t j = 0; j < text.size(); ++j, at.Forward()) {
      if (at.AtEnd()) return std::nullopt;
      const char byte = at.Byte();
      if (static_cast<char>(text::LowerCp1251(static_cast<unsigned char>(byte))) != lower[j]) return std::nullopt;
      exact = exact && byte == text[j];
    }
    if (!at.AtEnd() && IsNameByte(at.Byte())) return std::nullopt;
    return Occurrence{start.At(), at.At(), at.Key(), exact};
  }

  bool Replace(const LinkReplacement& r, const std::string& lower) {
    // The page holds no zero byte before its first one, where the search ends.
    if (r.text.empty() || r.text.find('\0') != std::string::npos) return false;
    bool exact = false;
    std::vector<Occurrence> taken;
    std::pair<size_t, size_t> free{0, 0};  // where the next occurrence taken may begin
    for (const Cursor& start : PossibleStarts(lower)) {
      const std::optional<Occurrence> found = Match(start, r.text, lower);
      if (!found) continue;
      exact = exact || found->exact;
      if (start.Key() < free) continue;
      taken.push_back(*found);
      free = found->endKey;
    }
    if (!exact) return false;
    // Occurrences side by side become one word.
    for (size_t n = 0; n < taken.size();) {
      size_t run = n + 1;
      while (run < taken.size() && taken[run].begin == taken[run - 1].end) ++run;
      Insert(taken[n].begin, taken[run - 1].end, r.resourceLink, run - n);
      n = run;
    }
    return true;
  }

  void Insert(size_t begin, size_t end, const std::string& link, size_t times) {
    stretches_.erase(stretches_.lower_bound(begin), stretches_.lower_bound(end));
    std::string word;
    for (size_t n = 0; n < times; ++n) word += link;
    AddPlace(text::LowerCp1251(word), {begin, ++lastId_});
    stretches_.emplace(begin, Stretch{end, std::move(word), lastId_});
  }

  std::string& page_;
  const std::vector<LinkReplacement>& replacements_;
  const Checkpoint& checkpoint_;
  std::vector<std::string> lower_;
  std::unordered_map<std::string_view, std::vector<Place>> places_;  // by anchor, lower-cased
  Stretches stretches_;
  size_t lastId_ = 0;
};

}  // namespace

bool LinksAreWords(const std::vector<LinkReplacement>& replacements) {
  return std::all_of(replacements.begin(), replacements.end(), [](const LinkReplacement& r) {
    return !r.resourceLink.empty() && std::all_of(r.resourceLink.begin(), r.resourceLink.end(), IsNameByte);
  });
}

std::vector<bool> ReplaceInOrderByWords(std::string& page, const std::vector<LinkReplacement>& replacements,
                                        const Checkpoint& checkpoint) {
  return WordReplacer(page, replacements, checkpoint).Run();
}

}  // namespace pagefold
