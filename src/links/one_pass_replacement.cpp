#include "links/one_pass_replacement.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "links/link_contact.h"
#include "links/name_bytes.h"
#include "links/page_sequence.h"
#include "links/text_automaton.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// The checkpoint comes after so many steps, or after a step that brings the
// bytes inserted so many past those at the last one: a few texts that each
// meet the links inserted before them can grow a page without end.
constexpr size_t kStepsBetweenCheckpoints = 1024;
constexpr size_t kAddedBetweenCheckpoints = 1 << 20;
constexpr size_t kNone = PageSequence::kNone;

// The texts lower-cased, side by side in one buffer; empty for a text that
// cannot occur: empty or with a zero byte. It is never copied or moved, which
// would leave the views of short texts behind.
class LowerTexts {
 public:
  explicit LowerTexts(const std::vector<LinkReplacement>& replacements) {
    size_t size = 0;
    for (const LinkReplacement& r : replacements) size += r.text.size();
    bytes_.reserve(size);  // the views below stay valid
    texts_.reserve(replacements.size());
    for (const LinkReplacement& r : replacements) {
      const size_t from = bytes_.size();
      if (r.text.find('\0') == std::string::npos) bytes_.append(r.text);
      texts_.emplace_back(bytes_.data() + from, bytes_.size() - from);
    }
    text::LowerCp1251InPlace(bytes_);
  }
  LowerTexts(const LowerTexts&) = delete;
  LowerTexts& operator=(const LowerTexts&) = delete;

  const std::vector<std::string_view>& Texts() const { return texts_; }  // by replacement

 private:
  std::string bytes_;
  std::vector<std::string_view> texts_;
};

// For each replacement, the number of the first one written alike; -1 for
// one whose text cannot occur. Texts written alike are equal in any case, so
// only one equal in any case to an earlier one is looked up by its bytes.
std::vector<int32_t> NumberWritten(const std::vector<LinkReplacement>& replacements, const TextAutomaton& automaton) {
  std::vector<int32_t> writtenOf(replacements.size(), -1);
  std::unordered_map<std::string_view, int32_t> repeated;
  for (size_t step = 0; step < replacements.size(); ++step) {
    const int32_t lower = automaton.NumberOf(step);
    if (lower < 0) continue;
    const std::string_view text = replacements[step].text;
    if (static_cast<size_t>(lower) == step || replacements[lower].text == text)
      writtenOf[step] = lower;
    else
      writtenOf[step] = repeated.try_emplace(text, static_cast<int32_t>(step)).first->second;
  }
  return writtenOf;
}

// The standing-alone places of each lower-cased text in the first page up to
// its first zero byte, by ascending start: those of text t from first[t] to
// first[t + 1] in starts.
struct FirstPlaces {
  std::vector<uint32_t> first;
  std::vector<size_t> starts;
};

FirstPlaces FindFirstPlaces(const std::string& page, size_t end, const TextAutomaton& automaton,
                            const std::vector<std::string_view>& lower) {
  std::vector<std::pair<int32_t, size_t>> found;  // text, start
  found.reserve(lower.size());
  automaton.Scan(
      std::string_view(page).substr(0, end), [&](size_t at) { return at == page.size() || !IsNameByte(page[at]); },
      [&](int32_t text, size_t at) {
        const size_t start = at - lower[text].size();
        if (start == 0 || !IsNameByte(page[start - 1])) found.emplace_back(text, start);
      });
  FirstPlaces places;
  places.first.assign(lower.size() + 1, 0);
  for (const auto& [text, start] : found) ++places.first[text + 1];
  for (size_t t = 0; t < lower.size(); ++t) places.first[t + 1] += places.first[t];
  places.starts.resize(found.size());
  std::vector<uint32_t> next(places.first.begin(), places.first.end() - 1);
  for (const auto& [text, start] : found) places.starts[next[text]++] = start;
  return places;
}

// Where the texts that can meet links can, by text number.
std::unordered_map<int32_t, TextContact> TextContacts(const LinkContacts& contacts, const TextAutomaton& automaton,
                                                      const std::vector<std::string_view>& lower) {
  std::unordered_map<int32_t, TextContact> textContacts;
  for (size_t t = 0; t < lower.size(); ++t) {
    if (automaton.NumberOf(t) != static_cast<int32_t>(t)) continue;
    TextContact contact = contacts.Contact(lower[t]);
    if (!contact.linkEnds.empty() || !contact.stemCuts.empty())
      textContacts.emplace(static_cast<int32_t>(t), std::move(contact));
  }
  return textContacts;
}

// A place where a text stands in the page now.
struct Place {
  size_t start;
  bool ofFirstPage;  // all its bytes and neighbours as the first page had them
};

// The replacements, made one after the other on a PageSequence.
class Replacer {
 public:
  Replacer(std::string& page, const std::vector<LinkReplacement>& replacements)
      : page_(page),
        replacements_(replacements),
        end_(std::min(page.find('\0'), page.size())),
        lower_(replacements),
        automaton_(lower_.Texts()),
        writtenOf_(NumberWritten(replacements, automaton_)),
        firstPlaces_(FindFirstPlaces(page, end_, automaton_, lower_.Texts())),
        contacts_(replacements),
        textContacts_(TextContacts(contacts_, automaton_, lower_.Texts())),
        sequence_(page, std::min(firstPlaces_.starts.size(), replacements.size())),
        spent_(replacements.size()),
        writtenNext_(replacements.size()) {}

  std::vector<bool> Run(const Checkpoint& checkpoint);

 private:
  struct Inserted {
    size_t place;       // of the link's first byte
    size_t markOffset;  // where its mark begins
  };

  bool StandsAsFirst(size_t start, size_t length) const {
    const size_t end = start + length;
    return !sequence_.AnyTaken(start == 0 ? 0 : start - 1, end < page_.size() ? end + 1 : end);
  }
  bool MeetsInsertedLinks(size_t step) const;
  bool OccursAsFirst(size_t step);
  void AddLinkPlaces(size_t step, std::vector<Place>& places, bool& asWritten) const;
  void AddFirstPagePlaces(int32_t lower, size_t length, std::vector<Place>& places) const;
  bool Fits(size_t step, size_t start, bool& asWritten) const;
  size_t Walk(size_t place, size_t count, bool back) const;
  std::vector<Place> Unoverlapped(const std::vector<Place>& places, size_t length) const;
  void Make(size_t step, const std::vector<Place>& places);

  std::string& page_;
  const std::vector<LinkReplacement>& replacements_;
  const size_t end_;
  const LowerTexts lower_;
  const TextAutomaton automaton_;       // numbers the texts equal in any case
  const std::vector<int32_t> writtenOf_;  // the number of the texts written alike
  const FirstPlaces firstPlaces_;
  const LinkContacts contacts_;
  const std::unordered_map<int32_t, TextContact> textContacts_;  // by text number
  PageSequence sequence_;
  std::vector<bool> spent_;            // by text number: replaced, none of its places on the first page is left
  std::vector<uint32_t> writtenNext_;  // by number written: the places before it hold no standing text written so
  std::vector<Place> places_;          // the places of the current step
  std::string lowerLink_;              // room for a link lower-cased
  std::unordered_map<std::string_view, std::vector<Inserted>> byNumber_;
  std::unordered_map<int, std::vector<Inserted>> byStem_;
  bool otherFormInserted_ = false;
};

bool Replacer::MeetsInsertedLinks(size_t step) const {
  const auto found = textContacts_.find(automaton_.NumberOf(step));
  if (found == textContacts_.end()) return false;
  const TextContact& contact = found->second;
  return std::any_of(contact.linkEnds.begin(), contact.linkEnds.end(),
                     [&](const auto& end) { return byNumber_.contains(end.first); }) ||
         std::any_of(contact.stemCuts.begin(), contact.stemCuts.end(),
                     [&](const auto& cut) { return byStem_.contains(cut.first); });
}

// True when the text stands as written at a place of the first page still
// as it was; each such place is compared once for each text written alike.
bool Replacer::OccursAsFirst(size_t step) {
  const std::string_view text = replacements_[step].text;
  const int32_t lower = automaton_.NumberOf(step);
  const uint32_t last = firstPlaces_.first[lower + 1];
  uint32_t& next = writtenNext_[writtenOf_[step]];
  for (next = std::max(next, firstPlaces_.first[lower]); next < last; ++next) {
    const size_t start = firstPlaces_.starts[next];
    if (StandsAsFirst(start, text.size()) && page_.compare(start, text.size(), text) == 0) return true;
  }
  return false;
}

void Replacer::AddFirstPagePlaces(int32_t lower, size_t length, std::vector<Place>& places) const {
  if (spent_[lower]) return;
  for (uint32_t k = firstPlaces_.first[lower]; k < firstPlaces_.first[lower + 1]; ++k)
    if (StandsAsFirst(firstPlaces_.starts[k], length)) places.push_back({firstPlaces_.starts[k], true});
}

// The place `count` bytes on from `place` in the page now, or kNone.
size_t Replacer::Walk(size_t place, size_t count, bool back) const {
  for (; count > 0 && place != kNone; --count) place = back ? sequence_.Prev(place) : sequence_.Next(place);
  return place;
}

// True when the step's text stands, in any case, at `start` in the page now;
// asWritten is set when it stands there as written too.
bool Replacer::Fits(size_t step, size_t start, bool& asWritten) const {
  const std::string_view text = replacements_[step].text;
  const std::string_view lower = lower_.Texts()[step];
  const size_t before = sequence_.Prev(start);
  if (before != kNone && IsNameByte(sequence_.At(before))) return false;
  bool written = true;
  size_t place = start;
  for (size_t k = 0; k < text.size(); ++k, place = sequence_.Next(place)) {
    if (place == kNone) return false;
    const char c = sequence_.At(place);
    if (static_cast<char>(text::LowerCp1251(static_cast<unsigned char>(c))) != lower[k]) return false;
    written = written && c == text[k];
  }
  if (place != kNone && IsNameByte(sequence_.At(place))) return false;
  asWritten = asWritten || written;
  return true;
}

// The places of the step's text over bytes of inserted links: aligned with
// the end of a link whose number it holds, or ending inside a stem.
void Replacer::AddLinkPlaces(size_t step, std::vector<Place>& places, bool& asWritten) const {
  const TextContact& contact = textContacts_.at(automaton_.NumberOf(step));
  const size_t length = replacements_[step].text.size();
  std::unordered_set<size_t> tried;
  const auto tryAt = [&](size_t start) {
    if (start != kNone && tried.insert(start).second && Fits(step, start, asWritten)) places.push_back({start, false});
  };
  for (const auto& [number, markAt] : contact.linkEnds) {
    const auto links = byNumber_.find(number);
    if (links == byNumber_.end()) continue;
    for (const Inserted& link : links->second) {
      const size_t mark = link.place + link.markOffset;
      if (!sequence_.AnyTaken(mark, mark + 1)) tryAt(Walk(mark, markAt, true));
    }
  }
  for (const auto& [stem, cut] : contact.stemCuts) {
    const auto links = byStem_.find(stem);
    if (links == byStem_.end()) continue;
    for (const Inserted& link : links->second) {
      const size_t last = link.place + cut - 1;
      if (!sequence_.AnyTaken(last, last + 1)) tryAt(Walk(last, length - 1, true));
    }
  }
}

// Of places of the first page, by ascending start, keeps the ones taken left
// to right without overlaps.
void KeepLeftToRight(std::vector<Place>& places, size_t length) {
  size_t kept = 0;
  for (const Place& place : places)
    if (kept == 0 || place.start >= places[kept - 1].start + length) places[kept++] = place;
  places.resize(kept);
}

// Of places that may overlap, the ones taken left to right without overlaps.
std::vector<Place> Replacer::Unoverlapped(const std::vector<Place>& places, size_t length) const {
  std::unordered_map<size_t, int> cover;          // place -> how many places hold it
  std::unordered_map<size_t, size_t> startingAt;  // place -> the place that starts there
  for (size_t i = 0; i < places.size(); ++i) {
    startingAt[places[i].start] = i;
    for (size_t k = 0, p = places[i].start; k < length; ++k, p = sequence_.Next(p)) ++cover[p];
  }
  std::vector<Place> kept;
  std::vector<bool> judged(places.size());
  for (size_t i = 0; i < places.size(); ++i) {
    if (judged[i]) continue;
    // The first byte of the run of held bytes that holds this place, then left to right through it.
    size_t p = places[i].start;
    for (size_t before = sequence_.Prev(p); before != kNone && cover.contains(before); before = sequence_.Prev(p))
      p = before;
    for (size_t left = 0; p != kNone && cover.contains(p); p = sequence_.Next(p)) {
      const auto starts = startingAt.find(p);
      if (starts != startingAt.end()) {
        judged[starts->second] = true;
        if (left == 0) {
          kept.push_back(places[starts->second]);
          left = length;
        }
      }
      if (left > 0) --left;
    }
  }
  return kept;
}

void Replacer::Make(size_t step, const std::vector<Place>& places) {
  const size_t length = replacements_[step].text.size();
  const LinkForm form = contacts_.Form(replacements_[step].resourceLink, lowerLink_);
  otherFormInserted_ = otherFormInserted_ || form.number.empty();
  for (const Place& place : places) {
    const size_t last = place.ofFirstPage ? place.start + length - 1 : Walk(place.start, length - 1, false);
    const Inserted link{sequence_.Replace(place.start, last, replacements_[step].resourceLink), form.markOffset};
    if (textContacts_.empty()) continue;  // no text can meet the link
    if (!form.number.empty()) byNumber_[form.number].push_back(link);
    if (form.stem >= 0) byStem_[form.stem].push_back(link);
  }
  spent_[automaton_.NumberOf(step)] = true;
}

std::vector<bool> Replacer::Run(const Checkpoint& checkpoint) {
  std::vector<bool> made(replacements_.size());
  bool changed = false;
  size_t addedAtCheckpoint = 0;
  for (size_t step = 0; step < replacements_.size(); ++step) {
    if (step % kStepsBetweenCheckpoints == kStepsBetweenCheckpoints - 1 ||
        sequence_.AddedSize() >= addedAtCheckpoint + kAddedBetweenCheckpoints) {
      checkpoint();
      addedAtCheckpoint = sequence_.AddedSize();
    }
    if (otherFormInserted_) {
      page_ = sequence_.Text();
      const std::vector<bool> rest = ReplaceInOrder(page_, std::span(replacements_).subspan(step), checkpoint);
      std::copy(rest.begin(), rest.end(), made.begin() + static_cast<std::ptrdiff_t>(step));
      return made;
    }
    const int32_t lower = automaton_.NumberOf(step);
    if (lower < 0) continue;
    const size_t length = replacements_[step].text.size();
    std::vector<Place>& places = places_;
    places.clear();
    bool meetsLinks = false;
    if (!MeetsInsertedLinks(step)) {
      if (spent_[lower] || !OccursAsFirst(step)) continue;
      AddFirstPagePlaces(lower, length, places);
    } else {
      AddFirstPagePlaces(lower, length, places);
      bool asWritten = false;
      for (const Place& place : places)
        asWritten = asWritten || page_.compare(place.start, length, replacements_[step].text) == 0;
      const size_t fromFirstPage = places.size();
      AddLinkPlaces(step, places, asWritten);
      if (!asWritten) continue;
      meetsLinks = places.size() > fromFirstPage;
    }
    if (meetsLinks)
      places = Unoverlapped(places, length);
    else
      KeepLeftToRight(places, length);
    made[step] = true;
    changed = true;
    Make(step, places);
  }
  if (changed) page_ = sequence_.Text();
  return made;
}

}  // namespace

std::vector<bool> ReplaceInOnePass(std::string& page, const std::vector<LinkReplacement>& replacements,
                                   const Checkpoint& checkpoint) {
  checkpoint();
  return Replacer(page, replacements).Run(checkpoint);
}

}  // namespace pagefold
