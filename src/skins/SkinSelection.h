// The skin manager's choice of skin: which skin a name stands for (a package file or a folder
// in the skin directory, or an internal skin of the catalogue), loading it, keeping the
// previous skin in force when a load fails, and listing the skins there are. Everything the
// choice touches outside itself (files, message boxes, the windows) goes through
// SkinEnvironment, which the Windows layer implements.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"
#include "paint/SkinModel.h"
#include "paint/SkinResources.h"
#include "skins/SkinNames.h"
#include "skins/SkinOptionFile.h"
#include "skins/SkinPackage.h"
#include "skins/SkinSettings.h"
#include "skins/StoredSkins.h"
#include "skins/ThirdPartyList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

inline constexpr std::u16string_view kSkinEngineVersion = u"9.19";
inline constexpr std::u16string_view kNoSkinInfo = u"N/A";

// A skin that was loaded: what the painting engine draws with.
struct TacLoadedSkin {
  std::u16string Name;  // the skin name it was loaded under
  double Version = 0;
  // Where its image files are read from: the skin's folder, the skin directory for a package
  // file, empty for an internal skin.
  std::u16string SkinPath;
  bool SkinIsPacked = false;
  SkinIni Options;
  // What the option file says the skin looks like; never null in a skin that loaded.
  std::shared_ptr<const paint::SkinModel> Model;
  // A package's images (the first ImageCount entries); a folder skin's images are the files
  // in SkinPath.
  std::vector<TacImageItem> Images;
  // What the system made of its images (PrepareSkin), for the painter.
  std::shared_ptr<const paint::SkinResources> Resources;
};

enum TacSkinningRule : unsigned {
  srStdForms = 1,
  srStdDialogs = 2,
  srThirdParty = 4,
};
inline constexpr unsigned kAllSkinningRules = srStdForms | srStdDialogs | srThirdParty;

struct SkinApplyOptions {
  bool repaint = true;
  bool animate = true;  // the skin-changing transition, where the windows have one
};

// Paths are Windows paths ("\" separated) as the manager builds them.
class SkinEnvironment {
 public:
  virtual ~SkinEnvironment() = default;
  virtual bool FileExists(const std::u16string& path) = 0;
  virtual bool DirectoryExists(const std::u16string& path) = 0;
  // The whole file; none when it does not exist. Throws kq::Error when it cannot be read,
  // and may refuse a file larger than maxSize that way.
  virtual std::optional<Bytes> ReadFile(const std::u16string& path, std::uint64_t maxSize) = 0;
  // The directory's entries (name and whether it is a directory; holdsOptionFile is the
  // manager's to find out); none when the directory does not exist.
  virtual std::optional<std::vector<SkinDirectoryEntry>> ListDirectory(
      const std::u16string& dir) = 0;
  // The error box: caption "Error", error icon, OK.
  virtual void ShowErrorBox(const std::u16string& text) = 0;
  // A plain message box.
  virtual void ShowMessage(const std::u16string& text) = 0;
  // The warning dialog with one OK button.
  virtual void ShowWarning(const std::u16string& text) = 0;
  virtual void ApplySkinToAllWindows(const SkinApplyOptions& options) = 0;
  virtual void RemoveSkinFromAllWindows() = 0;
  // Keeps the windows' current look for the transition to the skin about to load.
  virtual void CaptureForTransition() {}
  // Called with a skin read in full, its model built, before it replaces the skin in force:
  // the system decodes the skin's images here, and throws kq::Error for an image that is
  // missing, cannot be decoded or breaks the bounds, so that the previous skin stays.
  virtual void PrepareSkin(TacLoadedSkin&) {}
};

// All optional; none is used by the launcher itself.
struct TsSkinEvents {
  std::function<void()> OnBeforeChange;
  std::function<void()> OnAfterChange;
  std::function<void()> OnActivate;
  std::function<void()> OnDeactivate;
  std::function<void()> OnSkinLoading;
  std::function<void()> OnSkinListChanged;
};

struct SkinSelectionOptions {
  std::u16string programDir;              // the executable's folder, ending in "\"
  std::vector<std::u16string> arguments;  // the command line's arguments
  PackageReadOptions package;
  SkinNameCompare compareNames = CompareSkinNames;
};

// What a preview message carries.
struct SkinPreview {
  std::u16string name;
  std::u16string directory;
  std::u16string optionText;
};

class TsSkinSelection {
 public:
  // `env` and `codec` must outlive the object.
  TsSkinSelection(SkinEnvironment& env, const AnsiCodec& codec, SkinSelectionOptions options = {});

  // Settings read while loading and changing a skin.
  unsigned SkinningRules = kAllSkinningRules;
  TsManagerEffects Effects;
  // Which controls are painted as what; empty lists until the manager has loaded.
  ThirdPartyList ThirdParty;
  TsSkinEvents Events;

  bool Active() const { return active_; }
  // True reloads the skin; false takes it off every window.
  void SetActive(bool value);

  // The name in force: it can differ from the one assigned (fallback, stripped ".asz",
  // previous name after a failed load).
  const std::u16string& SkinName() const { return skinName_; }
  // Selects and loads the skin, always, even under the same name.
  void SetSkinName(std::u16string value);

  const std::u16string& SkinDirectory() const { return skinDirectory_; }
  // Does not reload the skin in force.
  void SetSkinDirectory(std::u16string value);
  std::u16string GetFullSkinDirectory() const;

  const TsStoredSkins& InternalSkins() const { return internalSkins_; }
  void SetInternalSkins(TsStoredSkins skins);
  // The first item named exactly so, or -1.
  int IndexOf(std::u16string_view name) const;

  // Fill `sl` with the sorted names and return the first name found (see ListSkinNames).
  std::u16string GetSkinNames(std::vector<std::u16string>& sl, TacSkinTypes type) const;
  std::u16string GetExternalSkinNames(std::vector<std::u16string>& sl, TacSkinTypes type) const;

  // When active, applies the skin in force to every window.
  void UpdateSkin(bool repaint) { Update({.repaint = repaint, .animate = true}); }
  void BeginUpdate() { ++updateDepth_; }
  // Ends the outermost BeginUpdate with an update.
  void EndUpdate(bool repaint, bool allowAnimation);
  bool NoAutoUpdate() const { return updateDepth_ > 0; }

  // While the window that owns the manager is read from its layout, a skin is loaded but not
  // applied; EndLoading applies it.
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool Loading() const { return loading_; }

  // Shows a skin sent by another program: its option text stands in for the option file of
  // a folder or internal skin, and from now on a folder wins over a package file.
  void ShowPreview(SkinPreview preview);
  bool PreviewSeen() const { return previewSeen_; }

  // Whether a skin is applied to the windows now.
  bool SkinInForce() const { return inForce_; }
  // The last skin loaded, kept through failed loads; null before the first.
  const TacLoadedSkin* LoadedSkin() const { return loaded_.get(); }
  double SkinVersion() const { return loaded_ ? loaded_->Version : 0; }
  std::u16string SkinPath() const { return loaded_ ? loaded_->SkinPath : std::u16string(); }
  bool SkinIsPacked() const { return loaded_ && loaded_->SkinIsPacked; }
  // The version in force with "." as the separator, or "N/A".
  std::u16string SkinInfo() const;
  // A section's index in the skin in force; -1 for an empty name, an absent section or no
  // skin in force.
  int GetSkinIndex(std::u16string_view section) const;
  static std::u16string Version() { return std::u16string(kSkinEngineVersion); }

  // Standard dialogs are skinned when the rules say so and skinning is on.
  bool StdDialogsSkinned() const { return stdDialogsSkinned_; }

 private:
  std::u16string List(bool withCatalogue, TacSkinTypes type, std::vector<std::u16string>& sl) const;
  void Update(const SkinApplyOptions& options);
  std::unique_ptr<TacLoadedSkin> LoadPackageFile(const std::u16string& dir,
                                                 const std::u16string& path);
  std::unique_ptr<TacLoadedSkin> LoadFolderOrInternal(const std::u16string& dir);
  // The option file's text; throws kq::Error when it is larger than the format allows.
  std::u16string OptionText(ByteView bytes) const;
  // Builds the skin's model and lets the system prepare it; throws kq::Error when either
  // finds a fault, before any notice about the skin's version.
  std::unique_ptr<TacLoadedSkin> ReadSkin(std::unique_ptr<TacLoadedSkin> skin,
                                          std::u16string_view optionText);
  void ShowNewVersionWarning();

  SkinEnvironment& env_;
  const AnsiCodec& codec_;
  SkinSelectionOptions options_;

  bool active_ = true;
  std::u16string skinName_;
  std::u16string skinDirectory_{kDefaultSkinDirectory};
  TsStoredSkins internalSkins_;
  std::unique_ptr<TacLoadedSkin> loaded_;
  bool inForce_ = false;
  int updateDepth_ = 0;
  bool loading_ = false;
  std::optional<std::u16string> heldOptionText_;
  bool previewSeen_ = false;
  bool stdDialogsSkinned_ = true;
};

// "Internal skin " + name + " holds no skin data" and "... holds no option file".
std::u16string InternalSkinEmptyText(std::u16string_view name);
std::u16string InternalSkinWithoutOptionsText(std::u16string_view name);
// N in double quotes + " skin have internal format error. Please update this skin to latest
// version."
std::u16string PackageFormatErrorText(std::u16string_view name);
// The error box's text for a skin whose option file has faults: the skin, the first fault
// as Options.dat:LINE, and how many more there are.
std::u16string SkinOptionsErrorText(std::u16string_view name,
                                    std::span<const paint::Diagnostic> errors);
// An option file larger than the format allows.
std::u16string OptionFileTooLargeText(std::u16string_view name);

}  // namespace kq
