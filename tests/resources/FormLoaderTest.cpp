#include "resources/FormLoader.h"

#include "FormText.h"
#include "FormWriter.h"
#include "common/Error.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <thread>

namespace kq::forms {
namespace {

Bytes Compile(std::string_view text) {
  return WriteFormStream(ParseFormText(text, "test.form"));
}

Bytes Deflate(ByteView data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

std::u16string Upper(std::u16string_view s) {
  std::u16string u(s);
  for (auto& c : u)
    if (c >= u'a' && c <= u'z') c -= 32;
  return u;
}

// Resources by name, found whatever the case, as the system finds them.
class MemoryModule final : public ResourceModule {
 public:
  void Add(std::u16string_view name, Bytes data) { resources_[Upper(name)] = std::move(data); }
  std::optional<ByteView> FindRcData(std::u16string_view name) const override {
    auto it = resources_.find(Upper(name));
    if (it == resources_.end()) return std::nullopt;
    return ByteView(it->second);
  }

 private:
  std::map<std::u16string, Bytes> resources_;
};

// The framework's classes for these tests: forms derive from TForm, the root ancestor.
const ComponentClass kForm{u"TForm", &kComponentClass};
const ComponentClass kBaseDialog{u"TBaseDialog", &kForm};
const ComponentClass kDerived{u"TfmDerived", &kBaseDialog};

// Records its loaded notifications in one shared journal.
class Node : public StoredComponent {
 public:
  explicit Node(std::vector<std::u16string>& journal) : journal_(journal) {}
  const ComponentClass& ClassInfo() const override { return kComponentClass; }
  void Loaded() override { journal_.push_back(Name()); }

 protected:
  std::unique_ptr<StoredComponent> CreateChild(std::u16string_view cls) override {
    if (cls == u"TNoSuchClass") return nullptr;
    return std::make_unique<Node>(journal_);
  }
  std::vector<std::u16string>& journal_;
};

class TestForm final : public Node {
 public:
  TestForm(const ComponentClass& cls, std::vector<std::u16string>& journal)
      : Node(journal), cls_(cls) {}
  const ComponentClass& ClassInfo() const override { return cls_; }
  bool enclosed = false;
  bool IsPartOfEnclosingStream() const override { return enclosed; }

 private:
  const ComponentClass& cls_;
};

// The whole stored state of a component, for comparing two loads.
std::string Snapshot(const StoredComponent& c) {
  Component tree;
  tree.className = c.StoredClassName();
  tree.name = c.Name();
  tree.properties = c.Properties();
  std::string out = DumpComponent(tree);
  for (const auto& child : c.Children()) out += Snapshot(*child);
  return out;
}

class FormLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramModule(&module_); }
  void TearDown() override {
    SetProgramModule(nullptr);
    SetFormResourceInitializer(nullptr);
  }

  std::u16string LoadError(TestForm& form) {
    try {
      InitInheritedComponent(form, &kForm);
    } catch (const Error& e) {
      return e.Message();
    }
    return u"(no error)";
  }

  MemoryModule module_;
  std::vector<std::u16string> journal_;
};

const char* const kBaseLayout =
    "object fmBase: TBaseDialog\n  Caption = 'Base'\n  Left = 5\n"
    "  object lblA: TLabel\n    Caption = 'A'\n  end\n"
    "  object pnl: TPanel\n    object btnB: TButton\n    end\n  end\nend\n";
const char* const kDerivedLayout =
    "inherited fmDerived: TfmDerived\n  Caption = 'Derived'\n"
    "  inherited LBLA: TLabel\n    Caption = 'A2'\n  end\n"
    "  object edtC: TEdit\n  end\nend\n";

TEST_F(FormLoaderTest, PlainAndCompressedResourcesGiveTheSameComponents) {
  const Bytes plain = Compile(kBaseLayout);
  const Bytes packed = Deflate(plain);
  ASSERT_EQ(packed[0], 0x78);
  ASSERT_EQ(packed[1], 0xDA);
  SetFormResourceInitializer(&InitFormFromResources);

  module_.Add(u"TBASEDIALOG", plain);
  TestForm fromPlain(kBaseDialog, journal_);
  InitInheritedComponent(fromPlain, &kForm);

  module_.Add(u"TBASEDIALOG", packed);
  TestForm fromPacked(kBaseDialog, journal_);
  InitInheritedComponent(fromPacked, &kForm);

  EXPECT_EQ(Snapshot(fromPacked), Snapshot(fromPlain));
  EXPECT_EQ(fromPacked.Find(u"caption")->text, u"Base");
  ASSERT_NE(fromPacked.FindChild(u"PNL"), nullptr);
  EXPECT_NE(fromPacked.FindChild(u"pnl")->FindChild(u"btnb"), nullptr);
}

TEST_F(FormLoaderTest, TheParentsResourceComesFirstAndTheClassesOwnOnTop) {
  SetFormResourceInitializer(&InitFormFromResources);
  module_.Add(u"TBaseDialog", Deflate(Compile(kBaseLayout)));
  module_.Add(u"tfmderived", Compile(kDerivedLayout));  // one plain, one compressed
  TestForm form(kDerived, journal_);
  InitInheritedComponent(form, &kForm);
  EXPECT_EQ(form.Name(), u"fmBase");
  EXPECT_EQ(form.Find(u"Caption")->text, u"Derived");
  EXPECT_EQ(form.Find(u"Left")->integer, 5);
  EXPECT_EQ(form.FindChild(u"lblA")->Find(u"Caption")->text, u"A2");
  ASSERT_EQ(form.Children().size(), 3u);
  EXPECT_EQ(form.Children()[2]->Name(), u"edtC");
  // Every component once, in the order it was first read.
  EXPECT_EQ(journal_, (std::vector<std::u16string>{u"fmBase", u"lblA", u"pnl", u"btnB", u"edtC"}));
}

TEST_F(FormLoaderTest, OneResourceInTheChainIsEnough) {
  SetFormResourceInitializer(&InitFormFromResources);
  struct Case {
    const char16_t* stored;
    const char* layout;
  };
  const Case cases[] = {{u"TBaseDialog", kBaseLayout},
                        {u"TfmDerived", "object f: TfmDerived\nend\n"}};
  for (const Case& c : cases) {
    MemoryModule only;
    only.Add(c.stored, Deflate(Compile(c.layout)));
    SetProgramModule(&only);
    TestForm form(kDerived, journal_);
    EXPECT_TRUE(InitFormFromResources(form, &kForm)) << c.layout;
  }
}

TEST_F(FormLoaderTest, AChainWithoutAResourceIsNotFound) {
  SetFormResourceInitializer(&InitFormFromResources);
  // The root ancestor's own resource is not part of the walk.
  module_.Add(u"TForm", Compile("object f: TForm\nend\n"));
  const ComponentClass foo{u"TFoo", &kForm};
  TestForm form(foo, journal_);
  EXPECT_EQ(LoadError(form), u"Resource TFoo not found");
  EXPECT_TRUE(journal_.empty());
}

TEST_F(FormLoaderTest, ClassesOfAnotherModuleAreReadFromThatModule) {
  SetFormResourceInitializer(&InitFormFromResources);
  MemoryModule library;
  library.Add(u"TLIBFORM", Deflate(Compile("object f: TLibForm\n  Tag = 7\nend\n")));
  const ComponentClass libForm{u"TLibForm", &kForm, &library};
  TestForm form(libForm, journal_);
  InitInheritedComponent(form, &kForm);
  EXPECT_EQ(form.Find(u"Tag")->integer, 7);
}

TEST_F(FormLoaderTest, WithoutTheHookOnlyPlainStreamsAreRead) {
  module_.Add(u"TBaseDialog", Compile(kBaseLayout));
  TestForm plain(kBaseDialog, journal_);
  EXPECT_EQ(LoadError(plain), u"(no error)");
  module_.Add(u"TBaseDialog", Deflate(Compile(kBaseLayout)));
  TestForm packed(kBaseDialog, journal_);
  EXPECT_EQ(LoadError(packed), u"Invalid stream format");
}

TEST_F(FormLoaderTest, FailuresReportTheirCauseAndReleaseEverything) {
  SetFormResourceInitializer(&InitFormFromResources);
  const Bytes plain = Compile(kBaseLayout);
  const Bytes packed = Deflate(plain);
  Bytes badCheck = packed;
  badCheck.back() ^= 1;
  struct Case {
    const char* what;
    Bytes data;
    const char16_t* message;
  };
  const Case cases[] = {
      {"damaged compressed data", badCheck, u"incorrect data check"},
      {"truncated compressed data", Bytes(packed.begin(), packed.end() - 9),
       u"Unexpected end of compressed data"},
      {"truncated plain stream", Bytes(plain.begin(), plain.end() - 3), u"Invalid stream format"},
      {"inflates to something else", Deflate(AsBytes("TPF1 not a form")), u"Invalid stream format"},
      {"shorter than the signature", Bytes{'T', 'P'}, u"incorrect header check"},
      {"unknown class", Compile("object f: TX\n  object g: TNoSuchClass\n  end\nend\n"),
       u"Class TNoSuchClass not found"},
      {"inherited without ancestor", Compile("object f: TX\n  inherited g: TEdit\n  end\nend\n"),
       u"Ancestor for 'g' not found"},
      {"duplicate name",
       Compile("object f: TX\n  object g: TEdit end\n  object G: TEdit end\nend\n"),
       u"A component named G already exists"},
  };
  for (const Case& c : cases) {
    module_.Add(u"TBaseDialog", c.data);
    journal_.clear();
    TestForm form(kBaseDialog, journal_);
    EXPECT_EQ(LoadError(form), c.message) << c.what;
    EXPECT_TRUE(journal_.empty()) << c.what << ": loaded sent after a failure";
    EXPECT_EQ(CurrentLoadingList(), nullptr) << c.what;
    // The lock is free again: another thread can take it.
    bool taken = false;
    std::thread([&] {
      taken = StreamingLock().try_lock();
      if (taken) StreamingLock().unlock();
    }).join();
    EXPECT_TRUE(taken) << c.what;
  }
}

TEST_F(FormLoaderTest, AComponentReadInsideAnEnclosingStreamLeavesTheBracketToIt) {
  SetFormResourceInitializer(&InitFormFromResources);
  module_.Add(u"TBaseDialog", Compile(kBaseLayout));
  TestForm inner(kBaseDialog, journal_);
  inner.enclosed = true;
  {
    LoadingBracket outer;
    EXPECT_TRUE(InitFormFromResources(inner, &kForm));
    EXPECT_TRUE(journal_.empty());  // not yet: the enclosing read notifies
    EXPECT_EQ(outer.List().Components().size(), 4u);
    outer.NotifyLoaded();
  }
  EXPECT_EQ(journal_, (std::vector<std::u16string>{u"fmBase", u"lblA", u"pnl", u"btnB"}));

  // A bracketing read inside another bracket opens and closes a list of its own.
  journal_.clear();
  TestForm nested(kBaseDialog, journal_);
  LoadingBracket outer;
  EXPECT_TRUE(InitFormFromResources(nested, &kForm));
  EXPECT_EQ(journal_.size(), 4u);
  EXPECT_EQ(CurrentLoadingList(), &outer.List());
  EXPECT_TRUE(outer.List().Components().empty());
}

}  // namespace
}  // namespace kq::forms
