#include "gui/win32/check_list.h"

#include <algorithm>

#include "gui/win32/wide_text.h"

namespace pagefold::gui::win32 {
namespace {

// The state images of a list view with tick boxes: 1 unticked, 2 ticked.
UINT TickImage(bool ticked) { return INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1); }

}  // namespace

CheckList::CheckList(HWND parent, int id, std::function<void()> userTicked) : userTicked_(std::move(userTicked)) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER |
                      LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
  control_ = CreateWindowExW(0, WC_LISTVIEWW, L"", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(control_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  // The tick of a row is asked for, as its name is.
  ListView_SetCallbackMask(control_, LVIS_STATEIMAGEMASK);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  ListView_InsertColumn(control_, 0, &column);
}

void CheckList::SetNames(std::vector<std::string> names) {
  ListView_DeleteAllItems(control_);
  names_ = std::move(names);
  ticks_.assign(names_.size(), 0);
  ListView_SetItemCountEx(control_, Count(), 0);
}

void CheckList::SetAllTicks(bool ticked) {
  std::fill(ticks_.begin(), ticks_.end(), ticked ? 1 : 0);
  InvalidateRect(control_, nullptr, FALSE);
}

int CheckList::TickedCount() const { return static_cast<int>(std::count(ticks_.begin(), ticks_.end(), 1)); }

std::vector<std::string> CheckList::TickedNames() const {
  std::vector<std::string> ticked;
  for (size_t row = 0; row < names_.size(); ++row)
    if (ticks_[row]) ticked.push_back(names_[row]);
  return ticked;
}

std::vector<CheckListEntry> CheckList::Entries() const {
  std::vector<CheckListEntry> entries;
  entries.reserve(names_.size());
  for (size_t row = 0; row < names_.size(); ++row) entries.push_back({names_[row], ticks_[row] != 0});
  return entries;
}

void CheckList::Toggle(int row) {
  if (row < 0 || row >= Count()) return;
  ticks_[row] = !ticks_[row];
  ListView_RedrawItems(control_, row, row);
  userTicked_();
}

void CheckList::ShowRow(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || item.iItem >= Count()) return;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const std::wstring name = Wide(names_[item.iItem]);
    const size_t length = std::min(name.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy_n(name.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
  }
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | TickImage(ticks_[item.iItem] != 0);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

// A tick changes on a click on its box (twice on a double click, as in a
// list that keeps its own ticks) and on the space bar. The list view's
// search as the user types finds nothing: it would otherwise take a row it
// is not told of for the first.
LRESULT CheckList::Notified(const NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      ShowRow(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return 0;
    case NM_CLICK:
    case NM_DBLCLK: {
      LVHITTESTINFO hit = {};
      hit.pt = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
      if (ListView_SubItemHitTest(control_, &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) Toggle(hit.iItem);
      return 0;
    }
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_SPACE)
        Toggle(ListView_GetNextItem(control_, -1, LVNI_FOCUSED));
      return 0;
    case LVN_ODFINDITEMW:
      return -1;
  }
  return 0;
}

}  // namespace pagefold::gui::win32
