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
// Bytes read between two checkpoints; a place walked counts as a few.
constexpr size_t kWorkBetweenCheckpoints = size_t{1} << 20;
constexpr size_t kWorkOfAPlace = 16;

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
    textOf_.resize(lower_.size());
    GroupTexts();
    checkpoint_();
  }

  std::vector<bool> Run() {
    std::vector<bool> made(replacements_.size());
    for (size_t i = 0; i < replacements_.size(); ++i) {
      if (i % kReplacementsBetweenCheckpoints == 0) checkpoint_();
      made[i] = Replace(textOf_[i], replacements_[i], lower_[i]);
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

  // Texts looked up through the same anchor, at the same offset, are walked
  // together: at each place of the anchor their sorted list is narrowed byte
  // by byte along the current page, and the place is kept for every text the
  // walk reaches whole. A place is walked again only when a replacement has
  // changed the bytes its walk read, so each place is read about once for
  // all texts of the group, not once per text. What a walk keeps is checked
  // again by Match: the walks only need to find every place that may match.
  struct Walked {
    Place place;
    size_t from, to;  // the part of the page as first read that the walk read, with a byte to spare
    bool stale = false;
  };
  struct Group {
    Anchor anchor{};
    std::vector<size_t> texts;  // distinct lower-cased texts, sorted
    std::vector<Walked> walked;
    size_t sorted = 0;                        // walked[0, sorted) ascend by `from`
    std::multimap<size_t, size_t> laterFrom;  // `from` of the walks after those
    std::vector<size_t> early;                // walks at places the text cannot begin before
    size_t longest = 0;                       // the most any walk read
    size_t placesWalked = 0;                  // of the anchor's places
    size_t insertsSeen = 0;
  };

  // Groups every distinct text by its anchor among the words of the page as first read.
  void GroupTexts() {
    std::map<std::pair<std::string_view, size_t>, size_t> groupOf;
    std::unordered_map<std::string_view, size_t> distinct;
    for (size_t i = 0; i < lower_.size(); ++i) {
      const std::string& lower = lower_[i];
      if (lower.empty() || lower.find('\0') != std::string::npos) continue;
      const auto [it, added] = distinct.try_emplace(lower, distinctText_.size());
      textOf_[i] = it->second;
      if (!added) continue;
      distinctText_.push_back(&lower);
      walksOf_.emplace_back();
      const Anchor anchor = AnchorOf(lower);
      const auto [group, made] = groupOf.try_emplace({anchor.key, anchor.offset}, groups_.size());
      if (made) {
        groups_.emplace_back();
        groups_.back().anchor = anchor;
      }
      groups_[group->second].texts.push_back(it->second);
      groupOfText_.push_back(group->second);
    }
    for (Group& group : groups_)
      std::sort(group.texts.begin(), group.texts.end(),
                [&](size_t a, size_t b) { return *distinctText_[a] < *distinctText_[b]; });
  }

  // Where the text may begin in the current page, in page order.
  std::vector<Cursor> PossibleStarts(size_t text) {
    Group& group = groups_[groupOfText_[text]];
    Update(group);
    std::vector<Cursor> starts;
    for (size_t n : walksOf_[text]) {
      const Walked& walked = group.walked[n];
      if (walked.stale || !IsCurrent(walked.place)) continue;
      if (const std::optional<Cursor> start = StartAt(walked.place, group.anchor.offset)) starts.push_back(*start);
    }
    std::sort(starts.begin(), starts.end(), [](const Cursor& a, const Cursor& b) { return a.Key() < b.Key(); });
    return starts;
  }

  std::optional<Cursor> StartAt(const Place& place, size_t offset) const {
    Cursor start(page_, stretches_, place.at);
    for (size_t back = 0; back < offset; ++back) {
      if (start.AtBegin()) return std::nullopt;
      start.Back();
    }
    return start;
  }

  // Walks again the places whose read bytes the replacements since the last
  // update have changed, and walks the places added to the anchor since.
  void Update(Group& group) {
    std::vector<size_t> again;
    for (; group.insertsSeen < inserts_.size(); ++group.insertsSeen) {
      // Plain names, not a structured binding: the lambda below reads them.
      const size_t begin = inserts_[group.insertsSeen].first, end = inserts_[group.insertsSeen].second;
      const size_t low = begin > group.longest ? begin - group.longest : 0;
      const auto touched = [&](size_t n) {
        Walked& walked = group.walked[n];
        if (walked.stale || walked.to <= begin) return;
        walked.stale = true;
        again.push_back(n);
      };
      const auto first = std::lower_bound(group.walked.begin(), group.walked.begin() + static_cast<std::ptrdiff_t>(group.sorted), low,
                                          [](const Walked& w, size_t at) { return w.from < at; });
      for (auto it = first; it != group.walked.begin() + static_cast<std::ptrdiff_t>(group.sorted) && it->from < end; ++it)
        touched(static_cast<size_t>(it - group.walked.begin()));
      for (auto it = group.laterFrom.lower_bound(low); it != group.laterFrom.end() && it->first < end; ++it)
        touched(it->second);
      for (size_t n : group.early) touched(n);
      std::erase_if(group.early, [&](size_t n) { return group.walked[n].stale; });
    }
    for (size_t n : again)
      if (IsCurrent(group.walked[n].place)) Walk(group, group.walked[n].place);
    const std::vector<Place>& places = places_.at(group.anchor.key);
    for (; group.placesWalked < places.size(); ++group.placesWalked) Walk(group, places[group.placesWalked]);
  }

  void Walk(Group& group, const Place& place) {
    Work(kWorkOfAPlace);
    Walked walked{place, 0, place.at + 2};
    std::vector<size_t> reached;
    const std::optional<Cursor> start = StartAt(place, group.anchor.offset);
    if (start) {
      walked.from = start->At() == 0 ? 0 : start->At() - 1;
      Cursor at = *start;
      size_t lo = 0, hi = group.texts.size();
      for (size_t depth = 0;; ++depth) {
        const auto textOf = [&](size_t n) -> const std::string& { return *distinctText_[group.texts[n]]; };
        while (lo < hi && textOf(lo).size() == depth) reached.push_back(group.texts[lo++]);
        if (lo == hi || at.AtEnd()) break;
        const unsigned char byte = text::LowerCp1251(static_cast<unsigned char>(at.Byte()));
        const auto byteOf = [&](size_t text) { return static_cast<unsigned char>((*distinctText_[text])[depth]); };
        const auto first = group.texts.begin() + static_cast<std::ptrdiff_t>(lo);
        const auto last = group.texts.begin() + static_cast<std::ptrdiff_t>(hi);
        const auto from = std::partition_point(first, last, [&](size_t text) { return byteOf(text) < byte; });
        const auto to = std::partition_point(from, last, [&](size_t text) { return byteOf(text) == byte; });
        lo = static_cast<size_t>(from - group.texts.begin());
        hi = static_cast<size_t>(to - group.texts.begin());
        if (lo == hi) break;
        Work(1);
        at.Forward();
      }
      walked.to = at.At() + 2;
    }
    const size_t n = group.walked.size();
    if (!start) {
      // Too near the beginning of the page for the text to begin before it.
      group.early.push_back(n);
    } else if (n == group.sorted && (n == 0 || group.walked.back().from <= walked.from)) {
      ++group.sorted;
      group.longest = std::max(group.longest, walked.to - walked.from);
    } else {
      group.laterFrom.emplace(walked.from, n);
      group.longest = std::max(group.longest, walked.to - walked.from);
    }
    group.walked.push_back(walked);
    for (size_t text : reached) walksOf_[text].push_back(n);
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

  bool Replace(size_t text, const LinkReplacement& r, const std::string& lower) {
    // The page holds no zero byte before its first one, where the search ends.
    if (r.text.empty() || r.text.find('\0') != std::string::npos) return false;
    bool exact = false;
    std::vector<Occurrence> taken;
    std::pair<size_t, size_t> free{0, 0};  // where the next occurrence taken may begin
    for (const Cursor& start : PossibleStarts(text)) {
      Work(r.text.size());
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

  void Work(size_t amount) {
    work_ += amount;
    if (work_ < kWorkBetweenCheckpoints) return;
    work_ = 0;
    checkpoint_();
  }

  void Insert(size_t begin, size_t end, const std::string& link, size_t times) {
    inserts_.emplace_back(begin, end);
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
  std::vector<std::pair<size_t, size_t>> inserts_;  // the parts of the page as first read replaced, in turn
  std::vector<size_t> textOf_;                      // the distinct text of each replacement
  std::vector<const std::string*> distinctText_;
  std::vector<size_t> groupOfText_;                 // by distinct text
  std::vector<std::vector<size_t>> walksOf_;        // by distinct text: the walks that reached it
  std::vector<Group> groups_;
  size_t work_ = 0;  // since the last checkpoint
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
