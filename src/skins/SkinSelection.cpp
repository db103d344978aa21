#include "skins/SkinSelection.h"

#include "common/Error.h"
#include "common/Text.h"

#include <exception>

namespace kq {
namespace {

void Raise(const std::function<void()>& event) {
  if (event) event();
}

// An unpacked package's images as the painting engine looks them up: the first ImageCount
// entries.
void TakeImages(TacSkinConvertor& conv, TacLoadedSkin& skin) {
  const std::size_t count = conv.Images().size();
  skin.Images = std::move(conv.Files);
  skin.Images.resize(count);
}

// The start of every message about a skin's option file.
std::u16string CannotBeUsed(std::u16string_view name) {
  return u"The \"" + std::u16string(name) + u"\" skin cannot be used: " +
         std::u16string(kSkinOptionFile);
}

}  // namespace

std::u16string InternalSkinEmptyText(std::u16string_view name) {
  return u"Internal skin " + std::u16string(name) + u" holds no skin data";
}

std::u16string InternalSkinWithoutOptionsText(std::u16string_view name) {
  return u"Internal skin " + std::u16string(name) + u" holds no option file";
}

std::u16string PackageFormatErrorText(std::u16string_view name) {
  return u"\"" + std::u16string(name) +
         u"\" skin have internal format error. Please update this skin to latest version.";
}

std::u16string SkinOptionsErrorText(std::u16string_view name,
                                    std::span<const paint::Diagnostic> errors) {
  const auto number = [](std::size_t n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
  };
  std::u16string text = CannotBeUsed(name) + u":" +
                        number(static_cast<std::size_t>(errors.front().line)) + u": " +
                        errors.front().text;
  if (errors.size() > 1) text += u" (and " + number(errors.size() - 1) + u" more)";
  return text;
}

std::u16string OptionFileTooLargeText(std::u16string_view name) {
  return CannotBeUsed(name) + u" is larger than 64 KiB";
}

TsSkinSelection::TsSkinSelection(SkinEnvironment& env, const AnsiCodec& codec,
                                 SkinSelectionOptions options)
    : env_(env), codec_(codec), options_(std::move(options)) {}

void TsSkinSelection::SetActive(bool value) {
  active_ = value;
  if (value) {
    SetSkinName(std::u16string(skinName_));
    return;
  }
  if (!skinName_.empty()) {
    env_.RemoveSkinFromAllWindows();
    inForce_ = false;
    Raise(Events.OnDeactivate);
  }
  stdDialogsSkinned_ = false;
}

void TsSkinSelection::SetSkinName(std::u16string value) {
  std::u16string previous = std::move(skinName_);
  skinName_ = std::move(value);
  if (active_) {
    Raise(Events.OnBeforeChange);
    if (Effects.ExtendedBorders && Effects.AnimEffects.SkinChanging.Active && !NoAutoUpdate()) env_.CaptureForTransition();
    inForce_ = false;

    skinName_ = StripPackageExtension(skinName_);
    const std::u16string dir = GetFullSkinDirectory();
    const std::u16string packagePath = SkinPackagePath(dir, skinName_);
    // After a preview, a folder of the name wins even over a package file.
    const bool packageFile =
        !(previewSeen_ && env_.DirectoryExists(JoinSkinPath(dir, skinName_))) &&
        env_.FileExists(packagePath);

    std::unique_ptr<TacLoadedSkin> skin;
    try {
      skin = packageFile ? LoadPackageFile(dir, packagePath) : LoadFolderOrInternal(dir);
    } catch (const Error& e) {
      skinName_ = std::move(previous);
      env_.ShowErrorBox(e.Message());
    } catch (const std::exception& e) {
      skinName_ = std::move(previous);
      env_.ShowErrorBox(WidenAscii(e.what()));
    }
    // A skin read in full replaces the one in force; after a failure, or a package file
    // with nothing to read, the previous skin is in force again.
    const bool read = skin != nullptr;
    if (read) loaded_ = std::move(skin);
    inForce_ = active_ && loaded_ != nullptr;
    if (read) Raise(Events.OnSkinLoading);

    if (active_) {
      if (!loading_ && !NoAutoUpdate()) env_.ApplySkinToAllWindows({.repaint = true});
      if (!loading_) Raise(Events.OnActivate);
    } else {
      env_.RemoveSkinFromAllWindows();
    }
    Raise(Events.OnAfterChange);
  }
  stdDialogsSkinned_ = (SkinningRules & srStdDialogs) != 0 && active_;
}

std::u16string TsSkinSelection::OptionText(ByteView bytes) const {
  if (bytes.size() > paint::kMaxOptionFileSize) throw Error(OptionFileTooLargeText(skinName_));
  return OptionFileText(bytes, codec_);
}

std::unique_ptr<TacLoadedSkin> TsSkinSelection::LoadPackageFile(const std::u16string& dir,
                                                                const std::u16string& path) {
  std::unique_ptr<TacSkinConvertor> conv;
  if (!LoadPackedSkinData(env_.ReadFile(path, options_.package.maxFileSize), conv, true, codec_,
                          options_.package)) {
    throw Error(u"Cannot open file " + path);  // gone since it was seen
  }
  if (!conv->Options) {
    env_.ShowMessage(PackageFormatErrorText(skinName_));
    return nullptr;
  }
  auto skin = std::make_unique<TacLoadedSkin>();
  skin->SkinPath = JoinSkinPath(dir, u"");
  skin->SkinIsPacked = true;
  const std::u16string text = OptionText(*conv->Options);
  TakeImages(*conv, *skin);
  return ReadSkin(std::move(skin), text);
}

std::unique_ptr<TacLoadedSkin> TsSkinSelection::LoadFolderOrInternal(const std::u16string& dir) {
  auto skin = std::make_unique<TacLoadedSkin>();
  const std::u16string folder = JoinSkinPath(dir, skinName_) + u'\\';
  const std::u16string optionFile = folder + std::u16string(kSkinOptionFile);
  if (env_.FileExists(optionFile)) {
    skin->SkinPath = folder;
    if (heldOptionText_) return ReadSkin(std::move(skin), *heldOptionText_);
    const auto bytes = env_.ReadFile(optionFile, options_.package.maxFileSize);
    if (!bytes) throw Error(u"Cannot open file " + optionFile);
    return ReadSkin(std::move(skin), OptionText(*bytes));
  }

  int index = IndexOf(skinName_);
  if (index < 0) {
    if (internalSkins_.Count() == 0) {
      active_ = false;
      return nullptr;
    }
    index = 0;
    skinName_ = internalSkins_[0].Name;
  }
  const TsStoredSkin& item = internalSkins_[static_cast<std::size_t>(index)];
  std::optional<std::u16string> text = heldOptionText_;
  if (!item.PackedData.empty()) {
    // The package stays the catalogue's: lent for the read and taken back right after it.
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->PackedData = PackedBytes::Lent(item.PackedData);
    try {
      ExtractPackedData(conv, codec_, options_.package);
    } catch (...) {
      if (conv) conv->PackedData = {};
      throw;
    }
    conv->PackedData = {};
    skin->SkinIsPacked = true;
    if (!text && conv->Options) text = OptionText(*conv->Options);
    TakeImages(*conv, *skin);
  }
  if (!text) {
    throw Error(item.PackedData.empty() ? InternalSkinEmptyText(item.Name)
                                        : InternalSkinWithoutOptionsText(item.Name));
  }
  return ReadSkin(std::move(skin), *text);
}

std::unique_ptr<TacLoadedSkin> TsSkinSelection::ReadSkin(std::unique_ptr<TacLoadedSkin> skin,
                                                         std::u16string_view optionText) {
  skin->Name = skinName_;
  skin->Options = SkinIni::Parse(optionText);
  paint::ModelResult built = paint::BuildSkinModel(skin->Options);
  if (!built.errors.empty()) throw Error(SkinOptionsErrorText(skinName_, built.errors));
  skin->Model = std::make_shared<const paint::SkinModel>(std::move(built.model));
  env_.PrepareSkin(*skin);
  skin->Version = ReadSkinVersion(skin->Options);
  switch (CheckSkinVersion(skin->Version, options_.arguments)) {
    case VersionNotice::kOldVersion:
      env_.ShowMessage(OldSkinVersionText(skinName_));
      break;
    case VersionNotice::kNewVersion:
      ShowNewVersionWarning();
      break;
    case VersionNotice::kNone:
      break;
  }
  return skin;
}

void TsSkinSelection::ShowNewVersionWarning() {
  // Standard dialogs unskinned while the warning shows, since the skin may not draw them.
  struct Restore {
    unsigned& rules;
    unsigned dialogs;
    ~Restore() { rules |= dialogs; }
  } restore{SkinningRules, SkinningRules & srStdDialogs};
  SkinningRules &= ~unsigned{srStdDialogs};
  env_.ShowWarning(std::u16string(kNewSkinVersionText));
}

void TsSkinSelection::SetSkinDirectory(std::u16string value) {
  if (value == skinDirectory_) return;
  skinDirectory_ = std::move(value);
  Raise(Events.OnSkinListChanged);
}

std::u16string TsSkinSelection::GetFullSkinDirectory() const {
  return ResolveSkinDirectory(options_.programDir, skinDirectory_);
}

void TsSkinSelection::SetInternalSkins(TsStoredSkins skins) {
  internalSkins_ = std::move(skins);
  Raise(Events.OnSkinListChanged);
}

int TsSkinSelection::IndexOf(std::u16string_view name) const {
  return internalSkins_.IndexOf(name);
}

std::u16string TsSkinSelection::GetSkinNames(std::vector<std::u16string>& sl,
                                             TacSkinTypes type) const {
  return List(true, type, sl);
}

std::u16string TsSkinSelection::GetExternalSkinNames(std::vector<std::u16string>& sl,
                                                     TacSkinTypes type) const {
  return List(false, type, sl);
}

std::u16string TsSkinSelection::List(bool withCatalogue, TacSkinTypes type,
                                     std::vector<std::u16string>& sl) const {
  std::vector<std::u16string> catalogue;
  if (withCatalogue) {
    for (const TsStoredSkin& item : internalSkins_.Items()) catalogue.push_back(item.Name);
  }
  const std::u16string dir = GetFullSkinDirectory();
  auto entries = env_.ListDirectory(dir).value_or(std::vector<SkinDirectoryEntry>{});
  if (type != TacSkinTypes::stPacked) {
    for (SkinDirectoryEntry& e : entries) {
      e.holdsOptionFile =
          e.isDirectory && !e.name.starts_with(u'.') &&
          env_.FileExists(JoinSkinPath(dir, e.name) + u'\\' + std::u16string(kSkinOptionFile));
    }
  }
  SkinListing listing = ListSkinNames(catalogue, entries, type, options_.compareNames);
  sl = std::move(listing.names);
  return listing.first;
}

void TsSkinSelection::Update(const SkinApplyOptions& options) {
  if (active_) env_.ApplySkinToAllWindows(options);
}

void TsSkinSelection::EndUpdate(bool repaint, bool allowAnimation) {
  if (updateDepth_ > 0) --updateDepth_;
  if (updateDepth_ == 0) Update({.repaint = repaint, .animate = allowAnimation});
}

void TsSkinSelection::EndLoading() {
  loading_ = false;
  if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
  if (active_ && !skinName_.empty()) {
    env_.ApplySkinToAllWindows({.repaint = false, .animate = false});
    Raise(Events.OnActivate);
  }
}

void TsSkinSelection::ShowPreview(SkinPreview preview) {
  previewSeen_ = true;
  BeginUpdate();
  heldOptionText_ = std::move(preview.optionText);
  try {
    SetSkinDirectory(std::move(preview.directory));
    SetSkinName(std::move(preview.name));
  } catch (...) {
    // An event handler's error ends the preview too.
    heldOptionText_.reset();
    --updateDepth_;
    throw;
  }
  EndUpdate(true, false);
  heldOptionText_.reset();
}

std::u16string TsSkinSelection::SkinInfo() const {
  return inForce_ && loaded_ ? FormatSkinVersion(loaded_->Version) : std::u16string(kNoSkinInfo);
}

int TsSkinSelection::GetSkinIndex(std::u16string_view section) const {
  if (section.empty() || !inForce_ || !loaded_) return -1;
  return loaded_->Options.SectionIndex(section);
}

}  // namespace kq
