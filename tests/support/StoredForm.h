// Reads a layout the build compiled (build/<tree>/forms/<RESOURCE>.formz) as the launcher
// reads its resource: zlib, then the form stream.
#pragma once

#include "common/InflateStream.h"
#include "resources/FormStream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kq::test {

inline Bytes CompiledLayoutBytes(const std::string& resource) {
  std::ifstream f(std::string(KQ_FORMS_DIR) + "/" + resource + ".formz", std::ios::binary);
  EXPECT_TRUE(f) << resource;
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline forms::Component ReadCompiledLayout(const std::string& resource) {
  const Bytes data = CompiledLayoutBytes(resource);
  MemoryInputStream source(data);
  BufferedInput in(source);
  InflateStream z(in);
  BufferedInput inflated(z);
  forms::Component root = forms::ReadFormStream(inflated);
  EXPECT_TRUE(inflated.Peek().empty()) << resource << ": bytes after the form";
  EXPECT_TRUE(z.Finished());
  return root;
}

// A component at any depth, by name.
inline const forms::Component* FindDeep(const forms::Component& c, std::u16string_view name) {
  for (const forms::Component& child : c.children) {
    if (forms::SameName(child.name, name)) return &child;
    if (const forms::Component* found = FindDeep(child, name)) return found;
  }
  return nullptr;
}

}  // namespace kq::test
