#include "resources/FormLoader.h"

#include "common/Error.h"
#include "common/InflateStream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

namespace kq::forms {
namespace {

std::atomic<const ResourceModule*> g_programModule{nullptr};
std::atomic<FormResourceInitializer> g_initializer{nullptr};
thread_local std::vector<LoadingList*> t_loadingStack;

bool ReadResource(std::u16string_view name, const ResourceModule* module, Streamable& instance,
                  bool inflate) {
  if (!module) module = ProgramModule();
  if (!module) return false;
  const std::optional<ByteView> data = module->FindRcData(name);
  if (!data) return false;
  // Read in place from the module's memory; the inflater works in blocks, so neither a
  // copy of the resource nor the whole inflated stream is ever held.
  BufferedInput in(*data);
  const bool plain = data->size() >= 4 && std::memcmp(data->data(), kFormSignature.data(), 4) == 0;
  Component tree;
  if (plain || !inflate) {
    tree = ReadFormStream(in);
  } else {
    InflateStream z(in);
    tree = ReadFormStream(z);
  }
  if (LoadingList* list = CurrentLoadingList()) {
    instance.ReadState(std::move(tree), *list);
  } else {
    LoadingBracket bracket;
    instance.ReadState(std::move(tree), bracket.List());
    bracket.NotifyLoaded();
  }
  return true;
}

bool Walk(const ComponentClass* c, const ComponentClass* root, Streamable& instance, bool inflate) {
  if (!c || c == &kComponentClass || c == root) return false;
  // The parent's resources first, so that each class's layout lands on its parent's.
  const bool parent = Walk(c->parent, root, instance, inflate);
  const bool own = ReadResource(c->name, c->module, instance, inflate);
  return parent || own;
}

bool InitFromResources(Streamable& instance, const ComponentClass* root, bool inflate) {
  std::lock_guard lock(StreamingLock());
  if (instance.IsPartOfEnclosingStream())
    return Walk(&instance.ClassInfo(), root, instance, inflate);
  LoadingBracket bracket;
  const bool found = Walk(&instance.ClassInfo(), root, instance, inflate);
  bracket.NotifyLoaded();
  return found;
}

}  // namespace

const ComponentClass kComponentClass{u"TComponent"};

void SetProgramModule(const ResourceModule* module) {
  g_programModule = module;
}
const ResourceModule* ProgramModule() {
  return g_programModule;
}

void LoadingList::Add(Streamable& component) {
  if (std::find(components_.begin(), components_.end(), &component) == components_.end()) {
    components_.push_back(&component);
  }
}

LoadingBracket::LoadingBracket() {
  t_loadingStack.push_back(&list_);
}
LoadingBracket::~LoadingBracket() {
  t_loadingStack.pop_back();
}

void LoadingBracket::NotifyLoaded() {
  for (Streamable* c : list_.Components()) c->Loaded();
}

LoadingList* CurrentLoadingList() {
  return t_loadingStack.empty() ? nullptr : t_loadingStack.back();
}

std::recursive_mutex& StreamingLock() {
  static std::recursive_mutex lock;
  return lock;
}

bool ReadFormResource(std::u16string_view resourceName, const ResourceModule* module,
                      Streamable& instance) {
  return ReadResource(resourceName, module, instance, true);
}

bool InitFormFromResources(Streamable& instance, const ComponentClass* rootAncestor) {
  return InitFromResources(instance, rootAncestor, true);
}

bool InitPlainFormFromResources(Streamable& instance, const ComponentClass* rootAncestor) {
  return InitFromResources(instance, rootAncestor, false);
}

void SetFormResourceInitializer(FormResourceInitializer initializer) {
  g_initializer = initializer;
}

void InitInheritedComponent(Streamable& instance, const ComponentClass* rootAncestor) {
  std::lock_guard lock(StreamingLock());
  const FormResourceInitializer init = g_initializer.load();
  if (!(init ? init : &InitPlainFormFromResources)(instance, rootAncestor)) {
    throw Error(u"Resource " + std::u16string(instance.ClassInfo().name) + u" not found");
  }
}

const FormValue* StoredComponent::Find(std::u16string_view property) const {
  for (const FormProperty& p : properties_) {
    if (SameName(p.name, property)) return &p.value;
  }
  return nullptr;
}

FormValue StoredComponent::TakeValue(std::u16string_view property) {
  for (FormProperty& p : properties_) {
    if (SameName(p.name, property)) return std::exchange(p.value, FormValue{});
  }
  return {};
}

StoredComponent* StoredComponent::FindChild(std::u16string_view name) const {
  for (const auto& c : children_) {
    if (!c->name_.empty() && SameName(c->name_, name)) return c.get();
  }
  return nullptr;
}

void StoredComponent::ReadState(Component&& tree, LoadingList& loading) {
  loading.Add(*this);
  if (className_.empty()) className_ = tree.className;
  // A component keeps the name it was first read with; descendants' layouts refer to it
  // without regard to case.
  if (name_.empty()) name_ = tree.name;
  for (FormProperty& p : tree.properties) {
    auto it = std::find_if(properties_.begin(), properties_.end(),
                           [&](const FormProperty& q) { return SameName(q.name, p.name); });
    if (it != properties_.end())
      it->value = std::move(p.value);
    else
      properties_.push_back(std::move(p));
  }
  for (Component& node : tree.children) {
    StoredComponent* existing = node.name.empty() ? nullptr : FindChild(node.name);
    if (node.flags & kInherited) {
      // A descendant's layout refines a component its ancestor's layout made.
      if (!existing) throw Error(u"Ancestor for '" + node.name + u"' not found");
      existing->ReadState(std::move(node), loading);
      continue;
    }
    if (existing) throw Error(u"A component named " + node.name + u" already exists");
    std::unique_ptr<StoredComponent> child = CreateChild(node.className);
    if (!child) throw Error(u"Class " + node.className + u" not found");
    StoredComponent& ref = *child;
    children_.push_back(std::move(child));
    ref.ReadState(std::move(node), loading);
  }
}

}  // namespace kq::forms
