// How long a skin takes to come into force, and what a loaded skin holds: every skin package
// of a folder (the internal ones, as the build makes them) loaded by the skin choice (read,
// inflated, its option file read into the model, its images decoded), then applied to a
// shown form and the form repainted whole. Prints the medians over all skins and rounds.
// Usage: KQSkinApplyBench FOLDER [ROUNDS]   (run under Wine; not a test)
#include "paint/SkinImages.h"
#include "paint/SkinPainter.h"
#include "resources/ModuleResources.h"
#include "skins/SkinService.h"
#include "ui/Form.h"
#include "win/SystemText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace kq;

const forms::ComponentClass kBenchClass{u"TfmSkinBench", &ui::kFormClass};

class BenchForm final : public ui::Form {
 public:
  const forms::ComponentClass& ClassInfo() const override { return kBenchClass; }
};

// The system's files, without applying anything to the windows: the bench does that itself.
class BenchEnvironment final : public SkinEnvironment {
 public:
  bool FileExists(const std::u16string& p) override { return env_.FileExists(p); }
  bool DirectoryExists(const std::u16string& p) override { return env_.DirectoryExists(p); }
  std::optional<Bytes> ReadFile(const std::u16string& p, std::uint64_t max) override {
    return env_.ReadFile(p, max);
  }
  std::optional<std::vector<SkinDirectoryEntry>> ListDirectory(const std::u16string& d) override {
    return env_.ListDirectory(d);
  }
  void ShowErrorBox(const std::u16string& text) override {
    std::fprintf(stderr, "error: %ls\n", win::W(text));
    ++errors;
  }
  void ShowMessage(const std::u16string&) override {}
  void ShowWarning(const std::u16string&) override {}
  void PrepareSkin(TacLoadedSkin& skin) override { env_.PrepareSkin(skin); }
  void ApplySkinToAllWindows(const SkinApplyOptions&) override {}
  void RemoveSkinFromAllWindows() override {}
  int errors = 0;

 private:
  skins::WinSkinEnvironment env_;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: KQSkinApplyBench FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::u16string folder = win::U16(argv[1]);
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  win::ModuleResources module;
  forms::SetProgramModule(&module);
  forms::SetFormResourceInitializer(&forms::InitFormFromResources);
  BenchForm form;
  form.CreateForm();
  form.Show();

  BenchEnvironment env;
  const win::SystemAnsiCodec codec;
  TsSkinSelection skins(env, codec);
  skins.SetSkinDirectory(folder);
  std::vector<std::u16string> names;
  skins.GetExternalSkinNames(names, TacSkinTypes::stPacked);
  if (names.empty()) {
    std::fprintf(stderr, "no skin packages in %ls\n", argv[1]);
    return 1;
  }
  std::vector<double> load, apply, memory;
  using Clock = std::chrono::steady_clock;
  for (int round = 0; round < rounds; ++round) {
    for (const std::u16string& name : names) {
      const auto t0 = Clock::now();
      skins.SetSkinName(name);
      const auto t1 = Clock::now();
      const TacLoadedSkin* skin = skins.LoadedSkin();
      auto images = skin ? std::dynamic_pointer_cast<const paint::SkinImages>(skin->Resources)
                         : nullptr;
      if (!skin || !skin->Model || !images) continue;
      paint::SkinPainter::Instance().Apply(skin->Model, images);
      ::RedrawWindow(form.Hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      ::GdiFlush();
      const auto t2 = Clock::now();
      load.push_back(Ms(t1 - t0));
      apply.push_back(Ms(t2 - t1));
      if (round == 0) memory.push_back(static_cast<double>(images->MemoryBytes()));
    }
  }
  std::printf("skins %zu, rounds %d, load errors %d\n", names.size(), rounds, env.errors);
  std::printf("load (read, inflate, model, decode): median %.3f ms, min %.3f, max %.3f\n",
              Median(load), *std::min_element(load.begin(), load.end()),
              *std::max_element(load.begin(), load.end()));
  std::printf("apply and repaint the form: median %.3f ms, min %.3f, max %.3f\n", Median(apply),
              *std::min_element(apply.begin(), apply.end()),
              *std::max_element(apply.begin(), apply.end()));
  std::printf("decoded images a loaded skin holds: median %.0f bytes, max %.0f\n", Median(memory),
              *std::max_element(memory.begin(), memory.end()));
  paint::SkinPainter::Instance().Remove();
  return env.errors == 0 ? 0 : 1;
}
