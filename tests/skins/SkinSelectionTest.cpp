#include "skins/SkinSelection.h"

#include "TestText.h"
#include "SkinPacker.h"
#include "common/Error.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

namespace kq {
namespace {

using test::B;
using test::U8;

using skinpack::BuildPackage;
using skinpack::PackEntry;

const Cp1251Codec kCodec;

std::u16string U16(std::string_view s) {
  return Utf8ToUtf16(AsBytes(s));
}

// An option file that says which skin it is (GLOBALINFO/TAG); no VERSION key for "".
std::string OptionText(std::string_view tag, std::string_view version) {
  std::string text = "[GLOBALINFO]\r\n";
  if (!version.empty()) text += "VERSION=" + std::string(version) + "\r\n";
  return text + "TAG=" + std::string(tag) + "\r\n[FORM]\r\nTOP=1\r\n[BUTTON]\r\nTOP=2\r\n";
}

Bytes Package(std::string_view tag, std::string_view version = "9") {
  return BuildPackage(std::vector<PackEntry>{{"Options.dat", B(OptionText(tag, version))},
                                             {"Master.bmp", B(std::string(tag) + " master")},
                                             {"Glow.png", B(std::string(tag) + " glow")}});
}

const std::u16string kProgramDir = u"C:\\Game\\";
const std::u16string kSkins = u"c:\\Skins";

// The file system, boxes and windows as the manager sees them, with every call and event in
// one log.
class FakeEnvironment : public SkinEnvironment {
 public:
  std::map<std::u16string, Bytes> files;
  std::set<std::u16string> dirs;
  std::set<std::u16string> unreadable;
  std::vector<std::string> log;
  const TsSkinSelection* selection = nullptr;

  void AddPackageFile(const std::u16string& dir, std::u16string_view name, Bytes package) {
    dirs.insert(dir);
    files[dir + u"\\" + std::u16string(name) + u".asz"] = std::move(package);
  }
  void AddFolder(const std::u16string& dir, std::u16string_view name,
                 std::optional<std::string> options) {
    dirs.insert(dir);
    const std::u16string folder = dir + u"\\" + std::u16string(name);
    dirs.insert(folder);
    if (options) files[folder + u"\\Options.dat"] = B(*options);
  }

  bool FileExists(const std::u16string& path) override { return files.contains(path); }
  bool DirectoryExists(const std::u16string& path) override { return dirs.contains(path); }
  std::optional<Bytes> ReadFile(const std::u16string& path, std::uint64_t) override {
    if (unreadable.contains(path)) throw Error(u"Cannot read file");
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::vector<SkinDirectoryEntry>> ListDirectory(const std::u16string& dir) override {
    if (!dirs.contains(dir)) return std::nullopt;
    std::vector<SkinDirectoryEntry> out;
    const std::u16string prefix = dir + u"\\";
    const auto child = [&](const std::u16string& path, bool isDirectory) {
      if (path.starts_with(prefix) && path.find(u'\\', prefix.size()) == std::u16string::npos) {
        out.push_back({path.substr(prefix.size()), isDirectory, false});
      }
    };
    for (const auto& d : dirs) child(d, true);
    for (const auto& [path, bytes] : files) child(path, false);
    return out;
  }
  void ShowErrorBox(const std::u16string& text) override { log.push_back("error: " + U8(text)); }
  void ShowMessage(const std::u16string& text) override { log.push_back("message: " + U8(text)); }
  void ShowWarning(const std::u16string& text) override {
    const bool dialogs = (selection->SkinningRules & srStdDialogs) != 0;
    log.push_back("warning: " + U8(text) + (dialogs ? " [dialogs skinned]" : ""));
  }
  void ApplySkinToAllWindows(const SkinApplyOptions& o) override {
    log.push_back(std::string("apply") + (o.repaint ? " repaint" : "") +
                  (o.animate ? " animate" : ""));
  }
  void RemoveSkinFromAllWindows() override { log.push_back("remove"); }
  void CaptureForTransition() override { log.push_back("capture"); }
  void PrepareSkin(TacLoadedSkin& skin) override {
    log.push_back("prepare");
    EXPECT_TRUE(skin.Model) << U8(skin.Name);
    if (prepareFault) throw Error(*prepareFault);
  }
  std::optional<std::u16string> prepareFault;
};

std::vector<TsStoredSkin> Catalogue() {
  return {{.Name = u"Air (internal)", .PackedData = Package("air", "8")},
          {.Name = u"FM (internal)", .PackedData = Package("fm", "9.01")},
          {.Name = u"iOS4 (internal)", .PackedData = Package("ios4", "8.5")}};
}

// A manager over the fake with the events logged.
struct Rig {
  explicit Rig(std::vector<TsStoredSkin> catalogue = Catalogue(),
               std::vector<std::u16string> arguments = {})
      : selection(env, kCodec, {.programDir = kProgramDir, .arguments = std::move(arguments)}) {
    env.selection = &selection;
    selection.SetInternalSkins(TsStoredSkins(std::move(catalogue)));
    const auto event = [this](const char* name) {
      return [this, name] { env.log.push_back(name); };
    };
    selection.Events = {.OnBeforeChange = event("BeforeChange"),
                        .OnAfterChange = event("AfterChange"),
                        .OnActivate = event("Activate"),
                        .OnDeactivate = event("Deactivate"),
                        .OnSkinLoading = event("SkinLoading"),
                        .OnSkinListChanged = event("SkinListChanged")};
  }

  // The TAG of the skin in force, or "-" when none is.
  std::string InForce() const {
    const TacLoadedSkin* skin = selection.LoadedSkin();
    if (!selection.SkinInForce() || !skin) return "-";
    return U8(skin->Options.Get(u"GLOBALINFO", u"TAG").value_or(u"?"));
  }
  std::string Name() const { return U8(selection.SkinName()); }
  std::vector<std::string> TakeLog() { return std::exchange(env.log, {}); }

  FakeEnvironment env;
  TsSkinSelection selection;
};

const std::vector<std::string> kLoaded = {"BeforeChange",          "prepare",  "SkinLoading",
                                          "apply repaint animate", "Activate", "AfterChange"};

std::vector<std::string> Failed(const std::string& box) {
  return {"BeforeChange", box, "apply repaint animate", "Activate", "AfterChange"};
}

TEST(SkinSelection, NameSelectsPackageFileFolderOrInternalSkin) {
  const struct {
    const char* what;
    std::function<void(Rig&)> setUp;
    std::u16string assigned;
    std::string name, inForce;
    std::u16string skinPath;
    bool packed;
  } cases[] = {
      {"internal skin, no skin directory", [](Rig&) {}, u"FM (internal)", "FM (internal)", "fm",
       u"", true},
      {"name in other letter case falls back to the first item", [](Rig&) {}, u"fm (internal)",
       "Air (internal)", "air", u"", true},
      {"name matching nothing falls back",
       [](Rig& r) { r.env.AddFolder(kSkins, u"Other", std::nullopt); }, u"Nothing",
       "Air (internal)", "air", u"", true},
      {"package file named with its extension",
       [](Rig& r) { r.env.AddPackageFile(kSkins, u"Foo", Package("foo-file")); }, u"Foo.asz", "Foo",
       "foo-file", u"c:\\Skins\\", true},
      {"extension in capitals is stripped too",
       [](Rig& r) { r.env.AddPackageFile(kSkins, u"Foo", Package("foo-file")); }, u"Foo.ASZ", "Foo",
       "foo-file", u"c:\\Skins\\", true},
      {"package file named without its extension",
       [](Rig& r) { r.env.AddPackageFile(kSkins, u"Foo", Package("foo-file")); }, u"Foo", "Foo",
       "foo-file", u"c:\\Skins\\", true},
      {"package file wins over a folder of the same name",
       [](Rig& r) {
         r.env.AddPackageFile(kSkins, u"Foo", Package("foo-file"));
         r.env.AddFolder(kSkins, u"Foo", OptionText("foo-folder", "9"));
       },
       u"Foo", "Foo", "foo-file", u"c:\\Skins\\", true},
      {"folder skin",
       [](Rig& r) { r.env.AddFolder(kSkins, u"Foo", OptionText("foo-folder", "9")); }, u"Foo",
       "Foo", "foo-folder", u"c:\\Skins\\Foo\\", false},
      {"folder wins over the internal skin of its name",
       [](Rig& r) { r.env.AddFolder(kSkins, u"FM (internal)", OptionText("fm-folder", "9")); },
       u"FM (internal)", "FM (internal)", "fm-folder", u"c:\\Skins\\FM (internal)\\", false},
      {"a folder without an option file is no skin",
       [](Rig& r) { r.env.AddFolder(kSkins, u"FM (internal)", std::nullopt); }, u"FM (internal)",
       "FM (internal)", "fm", u"", true},
      {"relative skin directory",
       [](Rig& r) {
         r.selection.SetSkinDirectory(u"Skins");
         r.env.AddPackageFile(u"C:\\Game\\Skins", u"Foo", Package("foo-relative"));
       },
       u"Foo", "Foo", "foo-relative", u"C:\\Game\\Skins\\", true},
      {"skin directory beside the program's",
       [](Rig& r) {
         r.selection.SetSkinDirectory(u"..\\Skins");
         r.env.AddFolder(u"C:\\Skins", u"Foo", OptionText("foo-parent", "9"));
       },
       u"Foo", "Foo", "foo-parent", u"C:\\Skins\\Foo\\", false},
      {"the program's own folder as skin directory",
       [](Rig& r) {
         r.selection.SetSkinDirectory(u".");
         r.env.AddPackageFile(u"C:\\Game", u"Foo", Package("foo-here"));
       },
       u"Foo", "Foo", "foo-here", u"C:\\Game\\", true},
  };
  for (const auto& c : cases) {
    Rig rig;
    c.setUp(rig);
    rig.TakeLog();
    rig.selection.SetSkinName(c.assigned);
    EXPECT_EQ(rig.Name(), c.name) << c.what;
    EXPECT_EQ(rig.InForce(), c.inForce) << c.what;
    EXPECT_EQ(U8(rig.selection.SkinPath()), U8(c.skinPath)) << c.what;
    EXPECT_EQ(rig.selection.SkinIsPacked(), c.packed) << c.what;
    EXPECT_EQ(rig.TakeLog(), kLoaded) << c.what;
  }
}

TEST(SkinSelection, LoadedSkinKeepsItsImagesAndLeavesTheCatalogueAlone) {
  Rig rig;
  const Bytes stored = rig.selection.InternalSkins()[1].PackedData;
  rig.selection.SetSkinName(u"FM (internal)");
  const TacLoadedSkin* skin = rig.selection.LoadedSkin();
  ASSERT_TRUE(skin);
  ASSERT_EQ(skin->Images.size(), 2u);
  EXPECT_EQ(skin->Images[0].FileName, u"Master.bmp");
  EXPECT_TRUE(skin->Images[0].IsBitmap);
  EXPECT_EQ(skin->Images[0].FileStream, B("fm master"));
  EXPECT_EQ(skin->Images[1].FileName, u"Glow.png");
  EXPECT_EQ(skin->Images[1].FileStream, B("fm glow"));
  EXPECT_EQ(rig.selection.InternalSkins()[1].PackedData, stored);
  EXPECT_EQ(rig.selection.SkinVersion(), 9.01);
  EXPECT_EQ(rig.selection.SkinInfo(), u"9.01");

  // A folder skin's images are files in its folder, not in memory.
  rig.env.AddFolder(kSkins, u"Foo", OptionText("foo", "8"));
  rig.selection.SetSkinName(u"Foo");
  ASSERT_TRUE(rig.selection.LoadedSkin());
  EXPECT_TRUE(rig.selection.LoadedSkin()->Images.empty());
  EXPECT_EQ(rig.selection.SkinInfo(), u"8");
}

// Each failure leaves the name, the skin in force and its data as they were before, except a
// package file without an option file, which keeps the new name.
TEST(SkinSelection, FailedLoadsKeepThePreviousSkin) {
  const Bytes good = Package("bad");
  Bytes damaged = good;
  damaged[4 + 4 + 4 + 11 + 4 + 1] ^= 0x01;  // the option file's zlib header
  const Bytes cut(good.begin(), good.end() - 10);
  const Bytes cutShort(good.begin(), good.begin() + 10);  // magic, count and two bytes
  const Bytes noOptions =
      BuildPackage(std::vector<PackEntry>{{"Master.bmp", B("m")}, {"Glow.png", B("g")}});
  const Bytes wrongMagic = B("PK\x03\x04 not a skin");

  std::vector<TsStoredSkin> catalogue = Catalogue();
  catalogue.push_back({.Name = u"Empty (internal)"});
  catalogue.push_back({.Name = u"Bare (internal)", .PackedData = noOptions});
  catalogue.push_back({.Name = u"Broken (internal)", .PackedData = wrongMagic});
  catalogue.push_back({.Name = u"Cut (internal)", .PackedData = cut});
  const std::string badColor = "[GLOBALINFO]\r\nVERSION=10\r\n[FORM]\r\nCOLOR=#FFF\r\n";
  catalogue.push_back(
      {.Name = u"Bad (internal)",
       .PackedData = BuildPackage(std::vector<PackEntry>{{"Options.dat", B(badColor)}})});
  const std::string colorText =
      "The \"Bad\" skin cannot be used: Options.dat:4: [FORM] COLOR: \"#FFF\" is not a colour: "
      "#RRGGBB, or a decimal number from 0 to 16777215";
  const std::string big = OptionText("big", "9") + "; " + std::string(64 * 1024, 'x') + "\r\n";

  const struct {
    const char* what;
    std::function<void(FakeEnvironment&)> setUp;
    std::u16string assigned;
    std::string name;  // FM (internal) was in force before
    std::vector<std::string> log;
  } cases[] = {
      {"package file is not a package",
       [&](FakeEnvironment& e) { e.AddPackageFile(kSkins, u"Bad", wrongMagic); }, u"Bad",
       "FM (internal)", Failed("error: Loaded data is not a packed skin file")},
      {"package file damaged",
       [&](FakeEnvironment& e) { e.AddPackageFile(kSkins, u"Bad", damaged); }, u"Bad.asz",
       "FM (internal)", Failed("error: data error")},
      {"package file truncated", [&](FakeEnvironment& e) { e.AddPackageFile(kSkins, u"Bad", cut); },
       u"Bad", "FM (internal)", Failed("error: Stream read error")},
      {"package file cut to 10 bytes, refused before it is read",
       [&](FakeEnvironment& e) { e.AddPackageFile(kSkins, u"Cut", cutShort); }, u"Cut",
       "FM (internal)",
       Failed("error: Stream read error: the package is too short for its entry count")},
      {"package file without an option file keeps the new name",
       [&](FakeEnvironment& e) { e.AddPackageFile(kSkins, u"Bad", noOptions); }, u"Bad.asz", "Bad",
       Failed("message: \"Bad\" skin have internal format error. Please update this skin to "
              "latest version.")},
      {"package file that cannot be read",
       [&](FakeEnvironment& e) {
         e.AddPackageFile(kSkins, u"Bad", good);
         e.unreadable.insert(u"c:\\Skins\\Bad.asz");
       },
       u"Bad", "FM (internal)", Failed("error: Cannot read file")},
      {"folder whose option file cannot be read",
       [&](FakeEnvironment& e) {
         e.AddFolder(kSkins, u"Bad", OptionText("bad", "9"));
         e.unreadable.insert(u"c:\\Skins\\Bad\\Options.dat");
       },
       u"Bad", "FM (internal)", Failed("error: Cannot read file")},
      {"internal skin with an empty package", [](FakeEnvironment&) {}, u"Empty (internal)",
       "FM (internal)", Failed("error: Internal skin Empty (internal) holds no skin data")},
      {"internal skin without an option file", [](FakeEnvironment&) {}, u"Bare (internal)",
       "FM (internal)", Failed("error: Internal skin Bare (internal) holds no option file")},
      {"internal skin that is not a package", [](FakeEnvironment&) {}, u"Broken (internal)",
       "FM (internal)", Failed("error: Loaded data is not a packed skin file")},
      {"internal skin truncated", [](FakeEnvironment&) {}, u"Cut (internal)", "FM (internal)",
       Failed("error: Stream read error")},
      // A skin whose option file has faults, or whose images the system refuses, shows no
      // notice about its version.
      {"folder skin with a bad colour",
       [&](FakeEnvironment& e) { e.AddFolder(kSkins, u"Bad", badColor); }, u"Bad", "FM (internal)",
       Failed("error: " + colorText)},
      {"package file with a bad colour",
       [&](FakeEnvironment& e) {
         e.AddPackageFile(kSkins, u"Bad",
                          BuildPackage(std::vector<PackEntry>{{"Options.dat", B(badColor)}}));
       },
       u"Bad", "FM (internal)", Failed("error: " + colorText)},
      {"internal skin with a bad colour", [](FakeEnvironment&) {}, u"Bad (internal)",
       "FM (internal)",
       Failed("error: The \"Bad (internal)\" skin cannot be used: Options.dat:4: [FORM] COLOR: "
              "\"#FFF\" is not a colour: #RRGGBB, or a decimal number from 0 to 16777215")},
      {"the first of several faults, and how many more",
       [&](FakeEnvironment& e) {
         e.AddFolder(kSkins, u"Bad",
                     "[CAPTION]\r\nHEIGHT=8\r\nBOLD=yes\r\n[EDIT]\r\nIMAGE=a.gif\r\n");
       },
       u"Bad", "FM (internal)",
       Failed("error: The \"Bad\" skin cannot be used: Options.dat:2: [CAPTION] HEIGHT: \"8\" is "
              "not a whole number from 16 to 64 (and 2 more)")},
      {"option file over 64 KiB", [&](FakeEnvironment& e) { e.AddFolder(kSkins, u"Big", big); },
       u"Big", "FM (internal)",
       Failed("error: The \"Big\" skin cannot be used: Options.dat is larger than 64 KiB")},
      {"an image the system refuses",
       [&](FakeEnvironment& e) {
         e.AddFolder(kSkins, u"Bad", OptionText("bad", "10"));
         e.prepareFault = u"Face.png cannot be decoded";
       },
       u"Bad",
       "FM (internal)",
       {"BeforeChange", "prepare", "error: Face.png cannot be decoded", "apply repaint animate",
        "Activate", "AfterChange"}},
  };
  for (const auto& c : cases) {
    Rig rig(catalogue);
    rig.selection.SetSkinName(u"FM (internal)");
    const TacLoadedSkin* before = rig.selection.LoadedSkin();
    c.setUp(rig.env);
    rig.TakeLog();
    rig.selection.SetSkinName(c.assigned);
    EXPECT_EQ(rig.Name(), c.name) << c.what;
    EXPECT_EQ(rig.TakeLog(), c.log) << c.what;
    EXPECT_EQ(rig.InForce(), "fm") << c.what;
    EXPECT_EQ(rig.selection.LoadedSkin(), before) << c.what;
    EXPECT_EQ(rig.selection.SkinPath(), u"") << c.what;
    EXPECT_TRUE(rig.selection.SkinIsPacked()) << c.what;
    EXPECT_EQ(rig.selection.SkinInfo(), u"9.01") << c.what;
    EXPECT_EQ(rig.selection.GetSkinIndex(u"FORM"), 1) << c.what;
  }
}

// At 64 KiB exactly the option file is still read.
TEST(SkinSelection, OptionFileOf64KiBIsRead) {
  std::string most = OptionText("most", "9") + "; ";
  most += std::string(64 * 1024 - most.size() - 2, 'x') + "\r\n";
  ASSERT_EQ(most.size(), 64u * 1024);
  Rig rig;
  rig.env.AddFolder(kSkins, u"Most", most);
  rig.selection.SetSkinName(u"Most");
  EXPECT_EQ(rig.InForce(), "most");
}

// The skins the build makes load under the model, and name only images they carry.
TEST(SkinSelection, EveryInternalSkinBuildsItsModel) {
  std::vector<TsStoredSkin> catalogue;
  for (const auto& entry : std::filesystem::directory_iterator(KQ_SKINS_DIR)) {
    if (entry.path().extension() != ".asz") continue;
    std::ifstream f(entry.path(), std::ios::binary);
    catalogue.push_back({.Name = entry.path().stem().u16string(),
                         .PackedData = Bytes((std::istreambuf_iterator<char>(f)),
                                             std::istreambuf_iterator<char>())});
  }
  ASSERT_GE(catalogue.size(), 74u);
  Rig rig(catalogue);
  for (const TsStoredSkin& item : catalogue) {
    rig.TakeLog();
    rig.selection.SetSkinName(item.Name);
    EXPECT_EQ(rig.TakeLog(), kLoaded) << U8(item.Name);
    const TacLoadedSkin* skin = rig.selection.LoadedSkin();
    ASSERT_TRUE(skin && skin->Model) << U8(item.Name);
    EXPECT_TRUE((*skin->Model)[paint::SectionId::kForm].declared) << U8(item.Name);
    for (const std::u16string& file : skin->Model->ImageFiles()) {
      EXPECT_TRUE(std::ranges::any_of(
          skin->Images, [&](const TacImageItem& image) { return image.FileName == file; }))
          << U8(item.Name) << ": " << U8(file);
    }
  }
}

TEST(SkinSelection, FailedFirstLoadLeavesNoSkinInForce) {
  std::vector<TsStoredSkin> catalogue = {{.Name = u"Empty (internal)"}};
  Rig rig(catalogue);
  rig.selection.SetSkinName(u"Anything");  // falls back to the first item, which fails
  EXPECT_EQ(rig.Name(), "");
  EXPECT_EQ(rig.InForce(), "-");
  EXPECT_EQ(rig.selection.LoadedSkin(), nullptr);
  EXPECT_EQ(rig.selection.SkinInfo(), u"N/A");
  EXPECT_TRUE(rig.selection.Active());
  EXPECT_EQ(rig.TakeLog(),
            (std::vector<std::string>{"BeforeChange",
                                      "error: Internal skin Empty (internal) holds no skin data",
                                      "apply repaint animate", "Activate", "AfterChange"}));
}

TEST(SkinSelection, NothingToLoadWithAnEmptyCatalogueSwitchesSkinningOff) {
  Rig rig(std::vector<TsStoredSkin>{});
  rig.TakeLog();
  rig.selection.SetSkinName(u"Foo");
  EXPECT_FALSE(rig.selection.Active());
  EXPECT_EQ(rig.Name(), "Foo");
  EXPECT_EQ(rig.InForce(), "-");
  EXPECT_FALSE(rig.selection.StdDialogsSkinned());
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"BeforeChange", "remove", "AfterChange"}));

  // With a skin to find, switching on again loads the name kept.
  rig.env.AddFolder(kSkins, u"Foo", OptionText("foo", "9"));
  rig.selection.SetActive(true);
  EXPECT_EQ(rig.InForce(), "foo");
  EXPECT_TRUE(rig.selection.StdDialogsSkinned());
  EXPECT_EQ(rig.TakeLog(), kLoaded);
}

TEST(SkinSelection, VersionCheckWhileLoading) {
  const std::string oldText =
      "message: You are using an old version of the Old (internal)\" skin. Please, update "
      "skins to latest or contact the skin engine support for upgrading of existing skin.\r\n\r\n"
      "This notification occurs in design-time only for your information and will not occur in "
      "real-time.";
  const std::string newText =
      "warning: This version of the skin have not complete support by used skin engine "
      "release.\r\nComponents must be updated up to latest version for using this skin.";
  const struct {
    const char* version;
    std::vector<std::u16string> arguments;
    unsigned rules;
    std::string box;  // "" for none
    std::u16string info;
  } cases[] = {
      {"7.44", {}, kAllSkinningRules, "", u"7.44"},
      {"7.44", {u"/ACTEST"}, kAllSkinningRules, oldText, u"7.44"},
      {"7.44", {u"x", u"/acTest"}, kAllSkinningRules, oldText, u"7.44"},
      {"", {}, kAllSkinningRules, "", u"0"},  // no VERSION key
      {"", {u"/actest"}, kAllSkinningRules, oldText, u"0"},
      {"7.45", {u"/actest"}, kAllSkinningRules, "", u"7.45"},
      {"9.99", {}, kAllSkinningRules, "", u"9.99"},
      {"10", {}, kAllSkinningRules, newText, u"10"},
      {"10", {}, srStdForms | srThirdParty, newText, u"10"},
  };
  for (const auto& c : cases) {
    std::vector<TsStoredSkin> catalogue = Catalogue();
    catalogue.push_back({.Name = u"Old (internal)", .PackedData = Package("old", c.version)});
    Rig rig(catalogue, c.arguments);
    rig.selection.SkinningRules = c.rules;
    rig.TakeLog();
    rig.selection.SetSkinName(u"Old (internal)");
    std::vector<std::string> expected = kLoaded;
    if (!c.box.empty()) expected.insert(expected.begin() + 2, c.box);
    EXPECT_EQ(rig.TakeLog(), expected) << c.version;
    EXPECT_EQ(rig.InForce(), "old") << c.version;
    EXPECT_EQ(rig.selection.SkinInfo(), c.info) << c.version;
    // Standard dialogs are unskinned only while the warning shows.
    EXPECT_EQ(rig.selection.SkinningRules, c.rules) << c.version;
    EXPECT_EQ(rig.selection.StdDialogsSkinned(), (c.rules & srStdDialogs) != 0) << c.version;
  }
}

TEST(SkinSelection, SwitchingOffAndOn) {
  Rig rig;
  rig.selection.SetSkinName(u"FM (internal)");
  rig.TakeLog();

  rig.selection.SetActive(false);
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"remove", "Deactivate"}));
  EXPECT_EQ(rig.InForce(), "-");
  EXPECT_EQ(rig.selection.SkinInfo(), u"N/A");
  EXPECT_EQ(rig.selection.GetSkinIndex(u"FORM"), -1);
  EXPECT_FALSE(rig.selection.StdDialogsSkinned());

  // Switched off, a name is only stored.
  rig.selection.SetSkinName(u"iOS4 (internal).asz");
  EXPECT_EQ(rig.Name(), "iOS4 (internal).asz");
  EXPECT_TRUE(rig.TakeLog().empty());
  EXPECT_EQ(rig.InForce(), "-");

  rig.selection.SetActive(true);
  EXPECT_EQ(rig.Name(), "iOS4 (internal)");
  EXPECT_EQ(rig.InForce(), "ios4");
  EXPECT_EQ(rig.TakeLog(), kLoaded);

  // Switching on again reloads.
  rig.selection.SetActive(true);
  EXPECT_EQ(rig.TakeLog(), kLoaded);

  // Without a name there is nothing to take off.
  Rig empty;
  empty.TakeLog();
  empty.selection.SetActive(false);
  EXPECT_TRUE(empty.TakeLog().empty());
  EXPECT_FALSE(empty.selection.StdDialogsSkinned());
}

TEST(SkinSelection, WhileTheWindowIsLoadedTheSkinIsLoadedButNotApplied) {
  Rig rig;
  rig.selection.BeginLoading();
  rig.selection.SetSkinDirectory(std::u16string(kSkins));  // unchanged: no event
  rig.TakeLog();
  rig.selection.SetSkinName(u"iOS4 (internal)");
  EXPECT_EQ(rig.TakeLog(),
            (std::vector<std::string>{"BeforeChange", "prepare", "SkinLoading", "AfterChange"}));
  EXPECT_EQ(rig.selection.LoadedSkin()->Name, u"iOS4 (internal)");

  rig.selection.EndLoading();
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"apply", "Activate"}));
  EXPECT_EQ(rig.InForce(), "ios4");

  rig.selection.SetSkinName(u"FM (internal)");
  EXPECT_EQ(rig.TakeLog(), kLoaded);

  // An empty skin directory gets the default when loading ends; no name, nothing applied.
  Rig bare;
  bare.selection.BeginLoading();
  bare.selection.SetSkinDirectory(u"");
  bare.TakeLog();
  bare.selection.EndLoading();
  EXPECT_EQ(bare.selection.SkinDirectory(), u"c:\\Skins");
  EXPECT_TRUE(bare.TakeLog().empty());
}

TEST(SkinSelection, SuspendedUpdates) {
  Rig rig;
  rig.selection.BeginUpdate();
  rig.selection.SetSkinName(u"FM (internal)");
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"BeforeChange", "prepare", "SkinLoading",
                                                     "Activate", "AfterChange"}));
  EXPECT_TRUE(rig.selection.NoAutoUpdate());
  rig.selection.BeginUpdate();
  rig.selection.EndUpdate(true, true);
  EXPECT_TRUE(rig.TakeLog().empty());  // the outer one still holds
  rig.selection.EndUpdate(true, false);
  EXPECT_FALSE(rig.selection.NoAutoUpdate());
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"apply repaint"}));

  rig.selection.UpdateSkin(false);
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"apply animate"}));
  rig.selection.SetActive(false);
  rig.TakeLog();
  rig.selection.UpdateSkin(true);
  rig.selection.BeginUpdate();
  rig.selection.EndUpdate(true, true);
  EXPECT_TRUE(rig.TakeLog().empty());  // nothing to apply while switched off
}

TEST(SkinSelection, TransitionIsCapturedOnlyWithExtendedBordersAndNoSuspendedUpdate) {
  const struct {
    bool extendedBorders, animate, suspended, captured;
  } cases[] = {
      {true, true, false, true},
      {false, true, false, false},
      {true, false, false, false},
      {true, true, true, false},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.selection.Effects.ExtendedBorders = c.extendedBorders;
    rig.selection.Effects.AnimEffects.SkinChanging.Active = c.animate;
    if (c.suspended) rig.selection.BeginUpdate();
    rig.TakeLog();
    rig.selection.SetSkinName(u"FM (internal)");
    const auto log = rig.TakeLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1] == "capture", c.captured) << c.extendedBorders << c.animate << c.suspended;
  }
}

TEST(SkinSelection, PreviewTextStandsInForTheOptionFile) {
  const std::u16string held = U16(OptionText("held", "9.5"));
  const struct {
    const char* what;
    std::function<void(FakeEnvironment&)> setUp;
    std::u16string name;
    std::string inForce;
    std::u16string skinPath;
    std::size_t images;
  } cases[] = {
      {"folder skin: the text, not the folder's file",
       [](FakeEnvironment& e) { e.AddFolder(kSkins, u"Prev", OptionText("prev-file", "9")); },
       u"Prev", "held", u"c:\\Skins\\Prev\\", 0},
      {"from the first preview on a folder wins over a package file",
       [](FakeEnvironment& e) {
         e.AddFolder(kSkins, u"Prev", OptionText("prev-file", "9"));
         e.AddPackageFile(kSkins, u"Prev", Package("prev-package"));
       },
       u"Prev", "held", u"c:\\Skins\\Prev\\", 0},
      {"a package file reads its own option file",
       [](FakeEnvironment& e) { e.AddPackageFile(kSkins, u"Prev", Package("prev-package")); },
       u"Prev", "prev-package", u"c:\\Skins\\", 2},
      {"internal skin: the text, with the package's images", [](FakeEnvironment&) {},
       u"FM (internal)", "held", u"", 2},
  };
  for (const auto& c : cases) {
    Rig rig;
    c.setUp(rig.env);
    rig.selection.SetSkinName(u"Air (internal)");
    rig.TakeLog();
    rig.selection.ShowPreview({.name = c.name, .directory = kSkins, .optionText = held});
    EXPECT_EQ(rig.InForce(), c.inForce) << c.what;
    EXPECT_EQ(rig.selection.SkinPath(), c.skinPath) << c.what;
    ASSERT_TRUE(rig.selection.LoadedSkin()) << c.what;
    EXPECT_EQ(rig.selection.LoadedSkin()->Images.size(), c.images) << c.what;
    // One update at the end, repainted, without the transition.
    EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"BeforeChange", "prepare", "SkinLoading",
                                                       "Activate", "AfterChange", "apply repaint"}))
        << c.what;
    EXPECT_FALSE(rig.selection.NoAutoUpdate()) << c.what;
  }
}

TEST(SkinSelection, AfterAPreviewTheTextIsDroppedAndFoldersWin) {
  Rig rig;
  rig.env.AddFolder(kSkins, u"Prev", OptionText("prev-file", "9"));
  rig.env.AddPackageFile(kSkins, u"Prev", Package("prev-package"));
  rig.selection.SetSkinName(u"Prev");
  EXPECT_EQ(rig.InForce(), "prev-package");  // before any preview the package file wins
  EXPECT_FALSE(rig.selection.PreviewSeen());

  rig.env.AddFolder(u"d:\\Edit", u"Other", OptionText("other-file", "9"));
  rig.TakeLog();
  rig.selection.ShowPreview(
      {.name = u"Other", .directory = u"d:\\Edit", .optionText = U16(OptionText("held", "9"))});
  EXPECT_EQ(rig.InForce(), "held");
  EXPECT_EQ(rig.selection.SkinDirectory(), u"d:\\Edit");
  EXPECT_EQ(rig.TakeLog().front(), "SkinListChanged");
  EXPECT_TRUE(rig.selection.PreviewSeen());

  rig.selection.SetSkinDirectory(std::u16string(kSkins));
  rig.selection.SetSkinName(u"Prev");
  EXPECT_EQ(rig.InForce(), "prev-file");
  EXPECT_EQ(rig.selection.SkinPath(), u"c:\\Skins\\Prev\\");

  // A failed load during a preview keeps the previous skin and ends the preview all the same.
  rig.TakeLog();
  rig.env.AddPackageFile(kSkins, u"Bad", B("junk"));
  rig.selection.ShowPreview(
      {.name = u"Bad", .directory = kSkins, .optionText = U16(OptionText("held", "9"))});
  EXPECT_EQ(rig.Name(), "Prev");
  EXPECT_EQ(rig.InForce(), "prev-file");
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"BeforeChange",
                                                     "error: Loaded data is not a packed skin file",
                                                     "Activate", "AfterChange", "apply repaint"}));
  rig.selection.SetSkinName(u"FM (internal)");
  EXPECT_EQ(rig.InForce(), "fm");  // the held text is gone
}

TEST(SkinSelection, SkinDirectoryChangeListsAgainButKeepsTheSkinInForce) {
  Rig rig;
  rig.env.AddFolder(kSkins, u"Foo", OptionText("foo", "9"));
  rig.selection.SetSkinName(u"Foo");
  rig.TakeLog();

  rig.selection.SetSkinDirectory(u"c:\\Skins");
  EXPECT_TRUE(rig.TakeLog().empty());
  rig.selection.SetSkinDirectory(u"C:\\Skins");  // exact comparison
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"SkinListChanged"}));
  EXPECT_EQ(rig.selection.GetFullSkinDirectory(), u"C:\\Skins");
  // The folder skin in force still reads its images from its own folder.
  EXPECT_EQ(rig.InForce(), "foo");
  EXPECT_EQ(rig.selection.SkinPath(), u"c:\\Skins\\Foo\\");

  rig.selection.SetSkinDirectory(u"Skins");
  EXPECT_EQ(rig.selection.GetFullSkinDirectory(), u"C:\\Game\\Skins");

  rig.selection.SetInternalSkins(TsStoredSkins(Catalogue()));
  EXPECT_EQ(rig.TakeLog(), (std::vector<std::string>{"SkinListChanged", "SkinListChanged"}));
}

TEST(SkinSelection, ListsCatalogueAndSkinDirectory) {
  Rig rig;
  rig.env.AddFolder(kSkins, u"Zed", OptionText("zed", "9"));
  rig.env.AddFolder(kSkins, u"NoOptions", std::nullopt);
  rig.env.AddPackageFile(kSkins, u"abc", Package("abc"));
  rig.env.AddPackageFile(kSkins, u"my.skin", Package("my"));
  rig.env.files[u"c:\\Skins\\Caps.ASZ"] = Package("caps");
  rig.env.files[u"c:\\Skins\\Zed\\inner.asz"] = Package("inner");

  std::vector<std::u16string> names{u"stale"};
  EXPECT_EQ(rig.selection.GetSkinNames(names, TacSkinTypes::stAllSkins), u"Air (internal)");
  EXPECT_EQ(names, (std::vector<std::u16string>{u"abc", u"Air (internal)", u"FM (internal)",
                                                u"iOS4 (internal)", u"my", u"Zed"}));

  // The first name found is the directory's first skin in its listing order (here the fake's:
  // folders first), not the first sorted.
  EXPECT_EQ(rig.selection.GetExternalSkinNames(names, TacSkinTypes::stAllSkins), u"Zed");
  EXPECT_EQ(names, (std::vector<std::u16string>{u"abc", u"my", u"Zed"}));
  EXPECT_EQ(rig.selection.GetExternalSkinNames(names, TacSkinTypes::stPacked), u"abc");
  EXPECT_EQ(names, (std::vector<std::u16string>{u"abc", u"my"}));
  EXPECT_EQ(rig.selection.GetExternalSkinNames(names, TacSkinTypes::stUnpacked), u"Zed");
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Zed"}));

  rig.selection.SetSkinDirectory(u"d:\\Missing");
  EXPECT_EQ(rig.selection.GetExternalSkinNames(names, TacSkinTypes::stAllSkins), u"");
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(rig.selection.GetSkinNames(names, TacSkinTypes::stAllSkins), u"Air (internal)");
  EXPECT_EQ(names.size(), 3u);
}

TEST(SkinSelection, LookupsAndConstants) {
  Rig rig;
  EXPECT_EQ(rig.selection.IndexOf(u"FM (internal)"), 1);
  EXPECT_EQ(rig.selection.IndexOf(u"fm (internal)"), -1);
  EXPECT_EQ(rig.selection.IndexOf(u"FM"), -1);
  EXPECT_EQ(rig.selection.IndexOf(u""), -1);

  EXPECT_EQ(rig.selection.SkinInfo(), u"N/A");
  EXPECT_EQ(rig.selection.GetSkinIndex(u"FORM"), -1);  // nothing loaded yet
  rig.selection.SetSkinName(u"FM (internal)");
  const struct {
    std::u16string_view section;
    int index;
  } sections[] = {{u"GLOBALINFO", 0}, {u"FORM", 1},     {u"BUTTON", 2},
                  {u"form", -1},      {u"MISSING", -1}, {u"", -1}};
  for (const auto& s : sections) {
    EXPECT_EQ(rig.selection.GetSkinIndex(s.section), s.index) << U8(s.section);
  }
  EXPECT_EQ(TsSkinSelection::Version(), u"9.19");
  EXPECT_EQ(rig.selection.SkinDirectory(), u"c:\\Skins");
}

}  // namespace
}  // namespace kq
