#include "paint/MenuSkin.h"

#include <algorithm>

namespace kq::paint {
namespace {

constexpr int kGutter = 22;  // the check mark's column
constexpr int kSeparatorHeight = 7;

HFONT MenuFont() {
  static const win::GdiObject font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return win::GdiObject(::CreateFontIndirectW(&metrics.lfMenuFont));
  }();
  return static_cast<HFONT>(font.Get());
}

}  // namespace

void MenuSkin::SetLook(std::shared_ptr<const SkinLook> look) {
  look_ = std::move(look);
  background_.Reset(
      ::CreateSolidBrush(look_->Colors(SectionId::kMenu, State::kNormal).color));
  // Popups dressed before keep their items; their background follows the new skin.
  for (const auto& [key, item] : items_) {
    if (!::IsMenu(item.menu)) continue;
    MENUINFO info{sizeof info, MIM_BACKGROUND};
    info.hbrBack = static_cast<HBRUSH>(background_.Get());
    ::SetMenuInfo(item.menu, &info);
  }
}

const MenuSkin::Item* MenuSkin::Find(ULONG_PTR key) const {
  const auto it = items_.find(key);
  return it == items_.end() ? nullptr : &it->second;
}

void MenuSkin::Dress(HMENU menu) {
  if (!look_ || !::IsMenu(menu)) return;
  // Items of menus that are gone (a rebuilt skin menu) are forgotten.
  std::erase_if(items_, [](const auto& entry) { return !::IsMenu(entry.second.menu); });
  MENUINFO info{sizeof info, MIM_BACKGROUND};
  info.hbrBack = static_cast<HBRUSH>(background_.Get());
  ::SetMenuInfo(menu, &info);
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 255;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (mii.fType & MFT_OWNERDRAW) continue;  // dressed already
    Item item{menu, text, mii.fType, mii.hSubMenu != nullptr, mii.dwItemData == 0};
    const ULONG_PTR key = item.ownData ? nextKey_++ : mii.dwItemData;
    items_[key] = std::move(item);
    MENUITEMINFOW dressed{};
    dressed.cbSize = sizeof dressed;
    dressed.fMask = MIIM_FTYPE | MIIM_DATA;
    dressed.fType = mii.fType | MFT_OWNERDRAW;
    dressed.dwItemData = key;
    ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &dressed);
  }
}

void MenuSkin::Undress() {
  for (const auto& [key, item] : items_) {
    if (!::IsMenu(item.menu)) continue;
    const int count = ::GetMenuItemCount(item.menu);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE | MIIM_DATA;
      if (!::GetMenuItemInfoW(item.menu, static_cast<UINT>(i), TRUE, &mii) ||
          !(mii.fType & MFT_OWNERDRAW) || mii.dwItemData != key) {
        continue;
      }
      MENUITEMINFOW plain{};
      plain.cbSize = sizeof plain;
      plain.fMask = MIIM_FTYPE | MIIM_DATA | (item.type & MFT_SEPARATOR ? 0 : MIIM_STRING);
      plain.fType = item.type;
      plain.dwItemData = item.ownData ? 0 : key;
      plain.dwTypeData = const_cast<wchar_t*>(item.text.c_str());
      ::SetMenuItemInfoW(item.menu, static_cast<UINT>(i), TRUE, &plain);
      break;
    }
    MENUINFO info{sizeof info, MIM_BACKGROUND};
    info.hbrBack = nullptr;
    ::SetMenuInfo(item.menu, &info);
  }
  items_.clear();
}

bool MenuSkin::Measure(HWND hwnd, MEASUREITEMSTRUCT& mis) const {
  if (mis.CtlType != ODT_MENU) return false;
  const Item* item = Find(mis.itemData);
  if (!item) return false;
  if (item->type & MFT_SEPARATOR) {
    mis.itemWidth = 10;
    mis.itemHeight = kSeparatorHeight;
    return true;
  }
  HDC dc = ::GetDC(hwnd);
  const HGDIOBJ old = ::SelectObject(dc, MenuFont());
  RECT r{};
  ::DrawTextW(dc, item->text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd, dc);
  mis.itemWidth = static_cast<UINT>(r.right - r.left + 2 * kGutter + 16);
  mis.itemHeight = static_cast<UINT>(std::max<LONG>(tm.tmHeight + 6, 20));
  return true;
}

bool MenuSkin::Draw(const DRAWITEMSTRUCT& dis) const {
  if (dis.CtlType != ODT_MENU || !look_) return false;
  const Item* item = Find(dis.itemData);
  if (!item) return false;
  HDC dc = dis.hDC;
  const RECT& r = dis.rcItem;
  const bool grayed = dis.itemState & (ODS_GRAYED | ODS_DISABLED);
  const State state = grayed ? State::kDisabled
                      : (dis.itemState & ODS_SELECTED) ? State::kHot
                                                       : State::kNormal;
  const StateColors& c = look_->Colors(SectionId::kMenu, state);
  {
    const win::GdiObject brush(::CreateSolidBrush(c.color));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
  }
  if (item->type & MFT_SEPARATOR) {
    const int y = (r.top + r.bottom) / 2;
    RECT line{r.left + 4, y, r.right - 4, y + 1};
    const win::GdiObject brush(
        ::CreateSolidBrush(look_->Colors(SectionId::kMenu, State::kNormal).borderColor));
    ::FillRect(dc, &line, static_cast<HBRUSH>(brush.Get()));
    return true;
  }
  if (dis.itemState & ODS_CHECKED) {
    const int size = 6, cx = r.left + kGutter / 2, cy = (r.top + r.bottom) / 2;
    const win::GdiObject brush(::CreateSolidBrush(c.fontColor));
    const win::GdiObject pen(::CreatePen(PS_SOLID, 2, c.fontColor));
    const HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
    const HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
    if (item->type & MFT_RADIOCHECK) {
      ::Ellipse(dc, cx - size / 2, cy - size / 2, cx + size / 2 + 1, cy + size / 2 + 1);
    } else {
      const POINT mark[] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}};
      ::Polyline(dc, mark, 3);
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
  }
  const HGDIOBJ old = ::SelectObject(dc, MenuFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, c.fontColor);
  // "Close\tAlt+F4": the text on the left, its shortcut on the right.
  const std::wstring& text = item->text;
  const std::size_t tab = text.find(L'\t');
  RECT left{r.left + kGutter, r.top, r.right - kGutter, r.bottom};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(std::min(tab, text.size())), &left,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (tab != std::wstring::npos) {
    ::DrawTextW(dc, text.c_str() + tab + 1, -1, &left, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  ::SelectObject(dc, old);
  return true;
}

}  // namespace kq::paint
