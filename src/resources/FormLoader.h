// Form resources: reading a window's layout from the resources of its class chain, plain
// or zlib-compressed, into the component being created.
//
// The framework's form constructor calls the installed resource initializer under the
// streaming lock; the framework's own one reads only plain form streams. Start-up installs
// InitFormFromResources, which also reads compressed ones, with SetFormResourceInitializer.
#pragma once

#include "common/Bytes.h"
#include "resources/FormStream.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq::forms {

// A module whose RCDATA resources can be read.
class ResourceModule {
 public:
  virtual ~ResourceModule() = default;
  // The bytes of the RCDATA resource of that name, matched without regard to letter case,
  // as a view of the module's own memory; nothing when the module has none.
  virtual std::optional<ByteView> FindRcData(std::u16string_view name) const = 0;
};

// The program's own module, searched for classes that name no module of their own.
void SetProgramModule(const ResourceModule* module);
const ResourceModule* ProgramModule();

// What the framework knows of a component class: its name, its parent and the module that
// holds its resources (null for the program's own).
struct ComponentClass {
  std::u16string_view name;
  const ComponentClass* parent = nullptr;
  const ResourceModule* module = nullptr;
};

// The base of every component class; walks up the class chain stop here.
extern const ComponentClass kComponentClass;

class LoadingList;

// A component that form streams are read into.
class Streamable {
 public:
  virtual ~Streamable() = default;
  virtual const ComponentClass& ClassInfo() const = 0;
  // True while the component is itself read as part of an enclosing stream; then the
  // enclosing read brackets the loading and sends the loaded notifications.
  virtual bool IsPartOfEnclosingStream() const { return false; }
  // Applies one stored tree on top of what earlier trees of the class chain set; adds
  // itself and every component it creates to the list. The tree's values are moved, not
  // copied: the main window's carries the whole skin catalogue.
  virtual void ReadState(Component&& tree, LoadingList& loading) = 0;
  // Every resource of the chain has been read.
  virtual void Loaded() {}
};

// The components being loaded by one bracket, in the order they were added.
class LoadingList {
 public:
  void Add(Streamable& component);  // a component already listed keeps its place
  const std::vector<Streamable*>& Components() const { return components_; }

 private:
  std::vector<Streamable*> components_;
};

// Opens a loading list for the current thread (brackets nest, one stack per thread) and
// closes it when it goes, also when the reading failed.
class LoadingBracket {
 public:
  LoadingBracket();
  ~LoadingBracket();
  LoadingBracket(const LoadingBracket&) = delete;
  LoadingBracket& operator=(const LoadingBracket&) = delete;
  LoadingList& List() { return list_; }
  // Sends every listed component its loaded notification, in order.
  void NotifyLoaded();

 private:
  LoadingList list_;
};

// The innermost open list of this thread, or null.
LoadingList* CurrentLoadingList();

// Held for writing by everything that streams components; the thread that holds it may
// take it again (the form constructor holds it when it runs the initializer).
std::recursive_mutex& StreamingLock();

// Reads the RCDATA resource of that name from the module (null: the program's) into the
// instance: a plain form stream when it begins with "TPF0", else a zlib stream inflated
// block by block as the reader goes. False when the module has no such resource.
bool ReadFormResource(std::u16string_view resourceName, const ResourceModule* module,
                      Streamable& instance);

// Reads the resources of the instance's class chain, from the class nearest the root
// ancestor (excluded) down to the instance's own class. True when at least one was found.
bool InitFormFromResources(Streamable& instance, const ComponentClass* rootAncestor);

// The framework's own initializer: the same walk, but only plain form streams.
bool InitPlainFormFromResources(Streamable& instance, const ComponentClass* rootAncestor);

using FormResourceInitializer = bool (*)(Streamable&, const ComponentClass*);
// The hook: the initializer the form constructor runs. Installed once at start-up, before
// the first window; null puts the framework's own one back.
void SetFormResourceInitializer(FormResourceInitializer initializer);

// The form constructor's step: runs the installed initializer under the streaming lock
// and fails with "Resource <class> not found" when the chain has no resource.
void InitInheritedComponent(Streamable& instance, const ComponentClass* rootAncestor);

// A component that keeps what was read into it: properties (a later assignment replaces
// an earlier one of the same name) and child components, created through CreateChild.
class StoredComponent : public Streamable {
 public:
  const std::u16string& Name() const { return name_; }
  const std::u16string& StoredClassName() const { return className_; }
  const std::vector<FormProperty>& Properties() const { return properties_; }
  const FormValue* Find(std::u16string_view property) const;
  // Moves a stored value out to the one reader that keeps it (the skin manager's catalogue
  // goes to the skin service); the property stays, with no value. Nil when not stored.
  FormValue TakeValue(std::u16string_view property);
  const std::vector<std::unique_ptr<StoredComponent>>& Children() const { return children_; }
  StoredComponent* FindChild(std::u16string_view name) const;

  void ReadState(Component&& tree, LoadingList& loading) override;

 protected:
  // A new child for a stored object of that class; null when the class is unknown.
  virtual std::unique_ptr<StoredComponent> CreateChild(std::u16string_view className) = 0;

 private:
  std::u16string name_;
  std::u16string className_;
  std::vector<FormProperty> properties_;
  std::vector<std::unique_ptr<StoredComponent>> children_;
};

}  // namespace kq::forms
