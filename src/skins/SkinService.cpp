#include "skins/SkinService.h"
#include "skins/SkinProvider.h"

#include "common/Error.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "paint/SkinImages.h"
#include "paint/SkinPainter.h"
#include "skins/SkinManager.h"
#include "ui/Label.h"
#include "win/SystemText.h"
#include "win/Files.h"
#include "win/Handles.h"
#include "win/MessageBox.h"

namespace kq::skins {
namespace {

DWORD Attributes(const std::u16string& path) {
  return ::GetFileAttributesW(win::W(path));
}

// The player's own order of names: the user locale's comparison without regard to case.
int CompareNamesForPlayer(std::u16string_view a, std::u16string_view b) {
  const int r =
      ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                       reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                       reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()));
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

BOOL CALLBACK RedrawThreadWindow(HWND hwnd, LPARAM) {
  ::RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

void RedrawProgramWindows() {
  ::EnumThreadWindows(::GetCurrentThreadId(), &RedrawThreadWindow, 0);
}

// An image of a skin folder is refused above this size before it is read; the decoder
// bounds its pixels.
constexpr std::uint64_t kMaxSkinImageFileSize = 16 * 1024 * 1024;

}  // namespace

bool WinSkinEnvironment::FileExists(const std::u16string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinSkinEnvironment::DirectoryExists(const std::u16string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<Bytes> WinSkinEnvironment::ReadFile(const std::u16string& path,
                                                  std::uint64_t maxSize) {
  if (!FileExists(path)) return std::nullopt;
  // The size is asked first, so that a huge file is refused before it is read.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (::GetFileAttributesExW(win::W(path), GetFileExInfoStandard, &data)) {
    const std::uint64_t size =
        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > maxSize) throw Error(std::u16string(kPackedSkinFileTooLarge));
  }
  auto bytes = win::ReadWholeFile(path);
  if (!bytes) throw Error(u"Cannot open file " + path);
  return bytes;
}

std::optional<std::vector<SkinDirectoryEntry>> WinSkinEnvironment::ListDirectory(
    const std::u16string& dir) {
  if (!DirectoryExists(dir)) return std::nullopt;
  std::u16string pattern = dir;
  if (!pattern.empty() && pattern.back() != u'\\' && pattern.back() != u'/') pattern += u'\\';
  pattern += u"*.*";
  std::vector<SkinDirectoryEntry> entries;
  WIN32_FIND_DATAW found{};
  const win::FileSearch find(::FindFirstFileW(win::W(pattern), &found));
  if (!find) return entries;
  do {
    entries.push_back(
        {win::U16(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileW(find.Get(), &found));
  return entries;
}

void WinSkinEnvironment::ShowErrorBox(const std::u16string& text) {
  win::ShowErrorBox(text);
}

void WinSkinEnvironment::ShowMessage(const std::u16string& text) {
  win::ShowMessageBox(win::MessageKind::kPlain, text, u"KQMiniLauncher");
}

void WinSkinEnvironment::ShowWarning(const std::u16string& text) {
  win::ShowMessageBox(win::MessageKind::kWarning, text, u"Warning");
}

void WinSkinEnvironment::PrepareSkin(TacLoadedSkin& skin) {
  if (!skin.Model) return;
  const auto source = [this, &skin](const std::u16string& file) -> std::optional<Bytes> {
    // A package's images are its entries; a folder's are its files.
    for (const TacImageItem& item : skin.Images) {
      if (SameIgnoringAsciiCase(item.FileName, file)) return item.FileStream;
    }
    if (skin.SkinIsPacked || skin.SkinPath.empty()) return std::nullopt;
    return ReadFile(skin.SkinPath + file, kMaxSkinImageFileSize);
  };
  skin.Resources = paint::SkinImages::Load(*skin.Model, source);
}

paint::SkinPainter::Dressing::FormSettings FormSkinSettings(const ui::Form& form) {
  // A form without a provider of its own is drawn with the provider's defaults.
  const TsSkinProvider* provider = form.FindComponent<TsSkinProvider>();
  const TsProviderSettings settings = provider ? provider->Settings() : TsProviderSettings{};
  const TsManagerEffects& manager = SkinService().Effects;
  return {.effects = {.anim = manager.AnimEffects,
                      .extendedBorders = manager.ExtendedBorders,
                      .allowBlendOnMoving = settings.AllowBlendOnMoving,
                      .allowAnimation = settings.AllowAnimation},
          .drawClientArea = settings.DrawClientArea,
          .drawNonClientArea = settings.DrawNonClientArea,
          .showAppIcon = settings.ShowAppIcon,
          .shadow = {.extendedBorders = manager.ExtendedBorders,
                     .allowExtBorders = settings.AllowExtBorders}};
}

void WinSkinEnvironment::ApplySkinToAllWindows(const SkinApplyOptions& options) {
  const TacLoadedSkin* skin = SkinService().LoadedSkin();
  auto images = skin ? std::dynamic_pointer_cast<const paint::SkinImages>(skin->Resources)
                     : nullptr;
  if (skin && skin->Model && images) {
    paint::SkinPainter::Instance().Apply(
        skin->Model, std::move(images),
        {.controls = [](const ui::Control& c) { return SkinsControl(SkinService().ThirdParty, c); },
         .settingsFor = &FormSkinSettings});
  } else if (options.repaint) {
    RedrawProgramWindows();
  }
}

void WinSkinEnvironment::CaptureForTransition() {
  paint::SkinPainter::Instance().CaptureForTransition();
}

void WinSkinEnvironment::RemoveSkinFromAllWindows() {
  paint::SkinPainter::Instance().Remove();
}

bool SkinsControl(const ThirdPartyList& lists, const ui::Control& control) {
  // Labels are drawn on their parent whatever the lists say; every other control of the
  // framework has a window of its own.
  const bool label = dynamic_cast<const ui::Label*>(&control) != nullptr;
  const std::int64_t tag = forms::IntegerOf(control.Find(u"Tag")).value_or(0);
  return lists
      .Decide(label ? ControlNature::kLabel : ControlNature::kWindowed,
              control.ClassInfo().name, tag)
      .skinned;
}

TsSkinSelection& SkinService() {
  static WinSkinEnvironment env;
  static const win::SystemAnsiCodec codec;
  static TsSkinSelection selection(env, codec,
                                   {.programDir = DirectoryOf(win::ExecutablePath()),
                                    .arguments = CommandLineArguments(),
                                    .compareNames = &CompareNamesForPlayer});
  return selection;
}

}  // namespace kq::skins
